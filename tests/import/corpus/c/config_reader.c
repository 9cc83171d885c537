/* Reads "key = value" lines into a fixed table; errors leave through one exit. */
#include <ctype.h>
#include <errno.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#define MAX_ENTRIES 64
#define MAX_LINE    512
#define LOG_ERROR(fmt, ...) \
    fprintf(stderr, "config: " fmt "\n", \
            __VA_ARGS__)

typedef struct {
    char key[64];
    char value[256];
    int line;
} config_entry;

typedef struct {
    config_entry entries[MAX_ENTRIES];
    size_t count;
} config_table;

static char *trim(char *s)
{
    char *end;

    while (isspace((unsigned char)*s))
        s++;
    if (*s == 0)
        return s;
    end = s + strlen(s) - 1;
    while (end > s && isspace((unsigned char)*end))
        end--;
    end[1] = '\0';
    return s;
}

int config_load(config_table *table, const char *path)
{
    FILE *fp;
    char line[MAX_LINE];
    int lineno = 0;
    int rc = -1;

    table->count = 0;
    fp = fopen(path, "r");
    if (fp == NULL) {
        LOG_ERROR("cannot open %s: %s", path, strerror(errno));
        return -1;
    }
    while (fgets(line, sizeof(line), fp)) {
        char *key, *value, *eq;

        lineno++;
        key = trim(line);
        if (*key == '#' || *key == ';' || *key == '\0')
            continue;
        eq = strchr(key, '=');
        if (!eq) {
            LOG_ERROR("line %d: missing '='", lineno);
            goto out;
        }
        *eq = '\0';
        value = trim(eq + 1);
        key = trim(key);
        if (table->count == MAX_ENTRIES) {
            LOG_ERROR("line %d: too many entries", lineno);
            goto out;
        }
        strncpy(table->entries[table->count].key, key, sizeof table->entries[0].key - 1);
        strncpy(table->entries[table->count].value, value, sizeof table->entries[0].value - 1);
        table->entries[table->count].line = lineno;
        table->count++;
    }
    rc = 0;
out:
    fclose(fp);
    return rc;
}

const char *config_get(const config_table *table, const char *key, const char *fallback)
{
    size_t i;

    for (i = 0; i < table->count; i++)
        if (!strcmp(table->entries[i].key, key))
            return table->entries[i].value;
    return fallback;
}

long config_get_long(const config_table *table, const char *key, long fallback)
{
    const char *text = config_get(table, key, NULL);
    char *end;
    long value;

    if (text == NULL)
        return fallback;
    errno = 0;
    value = strtol(text, &end, 0);
    return (errno || *end) ? fallback : value;
}
