/* Pointers to functions: tables of operations, comparators, handlers. */
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

typedef int (*binary_op)(int, int);
typedef void (*visit_fn)(const char *name, void *user);

struct command {
    const char *name;
    binary_op apply;
};

static int op_add(int a, int b) { return a + b; }
static int op_sub(int a, int b) { return a - b; }
static int op_mul(int a, int b) { return a * b; }

static const struct command commands[] = {
    { "add", op_add },
    { "sub", op_sub },
    { "mul", op_mul },
};

static int (*fallback)(int, int) = op_add;

binary_op find_op(const char *name)
{
    size_t i;

    for (i = 0; i < sizeof commands / sizeof commands[0]; i++)
        if (strcmp(commands[i].name, name) == 0)
            return commands[i].apply;
    return fallback;
}

static int compare_ints(const void *pa, const void *pb)
{
    const int a = *(const int *)pa, b = *(const int *)pb;
    return (a > b) - (a < b);
}

void for_each_name(const char **names, size_t count, visit_fn visit, void *user)
{
    while (count-- > 0)
        visit(*names++, user);
}

static void print_name(const char *name, void *user)
{
    int *counter = user;
    printf("%d: %s\n", ++*counter, name);
}

int main(void)
{
    int values[] = { 42, 7, 19, 3 };
    const char *names[] = { "alpha", "beta", "gamma" };
    int counter = 0;
    void (*report)(const char *, void *) = print_name;

    qsort(values, 4, sizeof(int), compare_ints);
    printf("%d\n", find_op("mul")(values[0], values[3]));
    printf("%d\n", (*fallback)(1, 2));
    for_each_name(names, 3, report, &counter);
    return 0;
}
