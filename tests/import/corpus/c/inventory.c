/*
 * inventory.c - a warehouse inventory kept in memory and saved as text.
 *
 * The program reads commands from standard input:
 *     add <sku> <name> <qty> <price>
 *     remove <sku> <qty>
 *     list [name|qty|value]
 *     report
 *     save <file> / load <file>
 * It mixes old and new styles on purpose: some helpers keep their old-style
 * definitions from the first version of the program.
 */
#include <assert.h>
#include <ctype.h>
#include <errno.h>
#include <limits.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#if defined(_WIN32)
#  define PATH_SEP '\\'
#else
#  define PATH_SEP '/'
#endif

#ifndef INVENTORY_CAPACITY
#define INVENTORY_CAPACITY 256
#endif

#define SKU_LEN   12
#define NAME_LEN  48
#define ARRAY_SIZE(a) (sizeof(a) / sizeof((a)[0]))
#define CHECK(cond, msg)                         \
    do {                                         \
        if (!(cond)) {                           \
            fprintf(stderr, "error: %s\n", msg); \
            return -1;                           \
        }                                        \
    } while (0)

typedef unsigned long money_t;   /* in cents */

typedef enum {
    SORT_BY_NAME,
    SORT_BY_QTY,
    SORT_BY_VALUE
} sort_key;

typedef struct item {
    char sku[SKU_LEN + 1];
    char name[NAME_LEN + 1];
    unsigned qty;
    money_t price;
    struct item *next_low;   /* chain of items below their reorder level */
} item;

typedef struct inventory {
    item items[INVENTORY_CAPACITY];
    size_t count;
    unsigned reorder_level;
    item *low_stock;
} inventory;

typedef int (*item_cmp)(const void *, const void *);

struct command_def {
    const char *word;
    int min_args;
    int (*run)(inventory *inv, int argc, char **argv);
};

static inventory store;
static int verbose = 0;
static unsigned long total_commands;

/* ------------------------------------------------------------ helpers */

static int parse_unsigned(text, out)
    const char *text;
    unsigned *out;
{
    char *end;
    unsigned long v;

    errno = 0;
    v = strtoul(text, &end, 10);
    if (errno != 0 || *end != '\0' || v > UINT_MAX)
        return -1;
    *out = (unsigned)v;
    return 0;
}

static int parse_money(const char *text, money_t *out)
{
    unsigned long units = 0, cents = 0;
    int digits = 0;

    while (isdigit((unsigned char)*text))
        units = units * 10 + (unsigned long)(*text++ - '0');
    if (*text == '.') {
        text++;
        while (isdigit((unsigned char)*text) && digits < 2) {
            cents = cents * 10 + (unsigned long)(*text++ - '0');
            digits++;
        }
        if (digits == 1)
            cents *= 10;
    }
    if (*text != '\0')
        return -1;
    *out = units * 100 + cents;
    return 0;
}

static void format_money(money_t m, char *buf, size_t size)
{
    snprintf(buf, size, "%lu.%02lu", m / 100, m % 100);
}

static item *find_item(inventory *inv, const char *sku)
{
    size_t i;

    for (i = 0; i < inv->count; i++)
        if (strcmp(inv->items[i].sku, sku) == 0)
            return &inv->items[i];
    return NULL;
}

static void rebuild_low_stock(inventory *inv)
{
    item **tail = &inv->low_stock;
    size_t i;

    *tail = NULL;
    for (i = 0; i < inv->count; i++) {
        item *it = &inv->items[i];
        if (it->qty < inv->reorder_level) {
            *tail = it;
            tail = &it->next_low;
        }
    }
    *tail = NULL;
}

/* ----------------------------------------------------------- comparators */

static int by_name(const void *a, const void *b)
{
    const item *x = a, *y = b;
    return strcmp(x->name, y->name);
}

static int by_qty(const void *a, const void *b)
{
    const item *x = (const item *)a;
    const item *y = (const item *)b;

    if (x->qty != y->qty)
        return x->qty < y->qty ? -1 : 1;
    return by_name(a, b);
}

static int by_value(const void *a, const void *b)
{
    const item *x = a, *y = b;
    money_t vx = x->price * x->qty, vy = y->price * y->qty;

    return (vx > vy) - (vx < vy);
}

static const item_cmp comparators[] = { by_name, by_qty, by_value };

/* -------------------------------------------------------------- commands */

static int cmd_add(inventory *inv, int argc, char **argv)
{
    item *it;
    unsigned qty;
    money_t price;

    CHECK(strlen(argv[1]) <= SKU_LEN, "sku too long");
    CHECK(parse_unsigned(argv[3], &qty) == 0, "bad quantity");
    CHECK(parse_money(argv[4], &price) == 0, "bad price");
    it = find_item(inv, argv[1]);
    if (it != NULL) {
        it->qty += qty;
        it->price = price;
    } else {
        CHECK(inv->count < INVENTORY_CAPACITY, "inventory full");
        it = &inv->items[inv->count++];
        memset(it, 0, sizeof *it);
        strcpy(it->sku, argv[1]);
        strncpy(it->name, argv[2], NAME_LEN);
        it->qty = qty;
        it->price = price;
    }
    (void)argc;
    rebuild_low_stock(inv);
    return 0;
}

static int cmd_remove(inventory *inv, int argc, char **argv)
{
    item *it = find_item(inv, argv[1]);
    unsigned qty;

    CHECK(it != NULL, "no such item");
    CHECK(parse_unsigned(argv[2], &qty) == 0, "bad quantity");
    if (qty > it->qty) {
        fprintf(stderr, "only %u in stock\n", it->qty);
        return -1;
    }
    it->qty -= qty;
    if (it->qty == 0) {
        size_t index = (size_t)(it - inv->items);
        memmove(it, it + 1, (inv->count - index - 1) * sizeof *it);
        inv->count--;
    }
    rebuild_low_stock(inv);
    return argc > 3 ? 1 : 0;
}

static int cmd_list(inventory *inv, int argc, char **argv)
{
    sort_key key = SORT_BY_NAME;
    char price[32];
    size_t i;

    if (argc > 1) {
        if (!strcmp(argv[1], "qty"))
            key = SORT_BY_QTY;
        else if (!strcmp(argv[1], "value"))
            key = SORT_BY_VALUE;
        else if (strcmp(argv[1], "name") != 0)
            return -1;
    }
    qsort(inv->items, inv->count, sizeof(item), comparators[key]);
    rebuild_low_stock(inv);
    for (i = 0; i < inv->count; i++) {
        const item *it = &inv->items[i];
        format_money(it->price, price, sizeof price);
        printf("%-*s %-*s %6u %10s%s\n", SKU_LEN, it->sku, NAME_LEN, it->name, it->qty, price,
               it->qty < inv->reorder_level ? "  (reorder)" : "");
    }
    return 0;
}

static int cmd_report(inventory *inv, int argc, char **argv)
{
    money_t total = 0;
    unsigned units = 0;
    const item *low;
    char buf[32];
    size_t i;

    for (i = 0; i < inv->count; i++) {
        total += inv->items[i].price * inv->items[i].qty;
        units += inv->items[i].qty;
    }
    format_money(total, buf, sizeof buf);
    printf("%lu items, %u units, value %s\n", (unsigned long)inv->count, units, buf);
    for (low = inv->low_stock; low; low = low->next_low)
        printf("  low: %s (%u)\n", low->sku, low->qty);
    (void)argc, (void)argv;
    return 0;
}

static int cmd_save(inventory *inv, int argc, char **argv)
{
    FILE *out = fopen(argv[1], "w");
    size_t i;
    int rc = 0;

    if (!out) {
        perror(argv[1]);
        return -1;
    }
    for (i = 0; i < inv->count && rc == 0; i++)
        if (fprintf(out, "%s\t%s\t%u\t%lu\n", inv->items[i].sku, inv->items[i].name,
                    inv->items[i].qty, inv->items[i].price) < 0)
            rc = -1;
    if (fclose(out) != 0)
        rc = -1;
    return argc < 2 ? -1 : rc;
}

static int cmd_load(inventory *inv, int argc, char **argv)
{
    FILE *in;
    char line[256];
    inventory fresh;

    in = fopen(argv[1], "r");
    if (in == NULL) {
        perror(argv[1]);
        return -1;
    }
    memset(&fresh, 0, sizeof fresh);
    fresh.reorder_level = inv->reorder_level;
    while (fgets(line, sizeof line, in) != NULL) {
        item *it;
        char *fields[4];
        char *p = line;
        int n = 0;

        if (fresh.count == INVENTORY_CAPACITY)
            goto too_many;
        while (n < 4 && (fields[n] = strtok(n == 0 ? p : NULL, "\t\n")) != NULL)
            n++;
        if (n != 4)
            continue;
        it = &fresh.items[fresh.count++];
        strncpy(it->sku, fields[0], SKU_LEN);
        strncpy(it->name, fields[1], NAME_LEN);
        it->qty = (unsigned)strtoul(fields[2], NULL, 10);
        it->price = strtoul(fields[3], NULL, 10);
    }
    fclose(in);
    *inv = fresh;
    rebuild_low_stock(inv);
    return argc == 2 ? 0 : 1;

too_many:
    fclose(in);
    fprintf(stderr, "%s: more than %d items\n", argv[1], INVENTORY_CAPACITY);
    return -1;
}

static const struct command_def commands[] = {
    { "add", 5, cmd_add },
    { "remove", 3, cmd_remove },
    { "list", 1, cmd_list },
    { "report", 1, cmd_report },
    { "save", 2, cmd_save },
    { "load", 2, cmd_load },
};

/* -------------------------------------------------------------- main loop */

static int split_words(char *line, char **words, int max)
{
    int n = 0;
    char *p = line;

    for (;;) {
        while (*p && isspace((unsigned char)*p))
            *p++ = '\0';
        if (!*p || n == max)
            break;
        words[n++] = p;
        while (*p && !isspace((unsigned char)*p))
            p++;
    }
    return n;
}

int dispatch(inventory *inv, int argc, char **argv)
{
    const struct command_def *cmd;

    for (cmd = commands; cmd < commands + ARRAY_SIZE(commands); cmd++) {
        if (strcmp(cmd->word, argv[0]) != 0)
            continue;
        if (argc < cmd->min_args) {
            fprintf(stderr, "%s: needs %d arguments\n", cmd->word, cmd->min_args - 1);
            return -1;
        }
        total_commands++;
        return cmd->run(inv, argc, argv);
    }
    fprintf(stderr, "unknown command '%s'\n", argv[0]);
    return -1;
}

int main(int argc, char **argv)
{
    char line[512];
    char *words[8];
    int failures = 0;

    store.reorder_level = 5;
    if (argc > 1 && strcmp(argv[1], "-v") == 0)
        verbose = 1;
    while (fgets(line, sizeof line, stdin)) {
        int n = split_words(line, words, (int)ARRAY_SIZE(words));
        if (n == 0 || words[0][0] == '#')
            continue;
        if (!strcmp(words[0], "quit"))
            break;
        if (dispatch(&store, n, words) < 0)
            failures++;
        else if (verbose)
            fprintf(stderr, "ok (%lu)\n", total_commands);
    }
    assert(store.count <= INVENTORY_CAPACITY);
    return failures ? EXIT_FAILURE : EXIT_SUCCESS;
}
