/*
 * word_freq.c - counts the words of the files named on the command line
 * and prints the most frequent ones. A chained hash table keeps the counts.
 */
#include <ctype.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#define TABLE_BITS   12
#define TABLE_SIZE   (1u << TABLE_BITS)
#define MAX_WORD     64
#define DEFAULT_TOP  10

typedef struct entry entry;
struct entry {
    char *word;
    unsigned long count;
    entry *next;
};

typedef struct {
    entry *buckets[TABLE_SIZE];
    size_t distinct;
    unsigned long total;
} word_table;

typedef struct {
    int top;
    int ignore_case;
    int min_length;
    const char *stop_words[16];
    int stop_count;
} options;

typedef void (*entry_visitor)(const entry *e, void *context);

static unsigned long hash_word(const char *s)
{
    unsigned long h = 5381;
    int c;

    while ((c = (unsigned char)*s++) != 0)
        h = ((h << 5) + h) ^ (unsigned long)c;   /* h * 33 ^ c */
    return h & (TABLE_SIZE - 1);
}

static char *copy_word(const char *s)
{
    size_t n = strlen(s) + 1;
    char *p = malloc(n);

    if (p != NULL)
        memcpy(p, s, n);
    return p;
}

int table_add(word_table *t, const char *word)
{
    unsigned long h = hash_word(word);
    entry *e;

    for (e = t->buckets[h]; e; e = e->next)
        if (strcmp(e->word, word) == 0) {
            e->count++;
            t->total++;
            return 0;
        }
    e = (entry *)malloc(sizeof(entry));
    if (!e || !(e->word = copy_word(word))) {
        free(e);
        return -1;
    }
    e->count = 1;
    e->next = t->buckets[h];
    t->buckets[h] = e;
    t->distinct++;
    t->total++;
    return 0;
}

void table_visit(const word_table *t, entry_visitor visit, void *context)
{
    unsigned i;
    const entry *e;

    for (i = 0; i < TABLE_SIZE; i++)
        for (e = t->buckets[i]; e != NULL; e = e->next)
            visit(e, context);
}

void table_clear(word_table *t)
{
    unsigned i;

    for (i = 0; i < TABLE_SIZE; i++) {
        entry *e = t->buckets[i];
        while (e) {
            entry *next = e->next;
            free(e->word);
            free(e);
            e = next;
        }
        t->buckets[i] = NULL;
    }
    t->distinct = 0;
    t->total = 0;
}

static int is_stop_word(const options *opt, const char *word)
{
    int i;

    for (i = 0; i < opt->stop_count; i++)
        if (!strcmp(opt->stop_words[i], word))
            return 1;
    return 0;
}

int count_stream(word_table *t, FILE *in, const options *opt)
{
    char word[MAX_WORD + 1];
    int len = 0, c;

    do {
        c = getc(in);
        if (c != EOF && (isalnum(c) || c == '\'' || c == '-')) {
            if (len < MAX_WORD)
                word[len++] = (char)(opt->ignore_case ? tolower(c) : c);
            continue;
        }
        if (len >= opt->min_length) {
            word[len] = '\0';
            if (!is_stop_word(opt, word) && table_add(t, word) != 0)
                return -1;
        }
        len = 0;
    } while (c != EOF);
    return 0;
}

struct top_list {
    const entry **items;
    int size;
    int used;
};

static void collect_top(const entry *e, void *context)
{
    struct top_list *top = context;
    int i;

    if (top->used < top->size)
        top->used++;
    else if (e->count <= top->items[top->size - 1]->count)
        return;
    for (i = top->used - 1; i > 0 && top->items[i - 1]->count < e->count; i--)
        top->items[i] = top->items[i - 1];
    top->items[i] = e;
}

static void parse_options(int *argc, char ***argv, options *opt)
{
    memset(opt, 0, sizeof *opt);
    opt->top = DEFAULT_TOP;
    opt->min_length = 1;
    while (*argc > 1 && (*argv)[1][0] == '-') {
        const char *arg = (*argv)[1];
        switch (arg[1]) {
        case 'i':
            opt->ignore_case = 1;
            break;
        case 'n':
            opt->top = atoi(arg + 2);
            if (opt->top <= 0)
                opt->top = DEFAULT_TOP;
            break;
        case 'm':
            opt->min_length = atoi(arg + 2);
            break;
        case 's':
            if (opt->stop_count < (int)(sizeof opt->stop_words / sizeof opt->stop_words[0]))
                opt->stop_words[opt->stop_count++] = arg + 2;
            break;
        default:
            fprintf(stderr, "unknown option %s\n", arg);
        }
        (*argc)--;
        (*argv)++;
    }
}

int main(int argc, char **argv)
{
    static word_table table;
    options opt;
    struct top_list top;
    int i, status = 0;

    parse_options(&argc, &argv, &opt);
    if (argc < 2) {
        if (count_stream(&table, stdin, &opt) != 0)
            status = 1;
    } else {
        for (i = 1; i < argc; i++) {
            FILE *in = fopen(argv[i], "r");
            if (in == NULL) {
                perror(argv[i]);
                status = 1;
                continue;
            }
            if (count_stream(&table, in, &opt) != 0)
                status = 1;
            fclose(in);
        }
    }
    top.size = opt.top;
    top.used = 0;
    top.items = calloc((size_t)top.size, sizeof *top.items);
    if (top.items == NULL)
        return 2;
    table_visit(&table, collect_top, &top);
    printf("%lu words, %lu distinct\n", table.total, (unsigned long)table.distinct);
    for (i = 0; i < top.used; i++)
        printf("%7lu %s\n", top.items[i]->count, top.items[i]->word);
    free(top.items);
    table_clear(&table);
    return status;
}
