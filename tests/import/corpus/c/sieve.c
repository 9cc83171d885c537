/* Sieve of Eratosthenes: the primes below a bound given on the command line. */
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#define DEFAULT_BOUND 1000
#define IS_MARKED(s, i) ((s)[(i) >> 3] & (1u << ((i) & 7)))
#define MARK(s, i)      ((s)[(i) >> 3] |= (unsigned char)(1u << ((i) & 7)))

static size_t count_primes(const unsigned char *sieve, size_t bound)
{
    size_t count = 0;
    size_t i;

    for (i = 2; i < bound; i++)
        if (!IS_MARKED(sieve, i))
            count++;
    return count;
}

int main(int argc, char **argv)
{
    size_t bound = argc > 1 ? (size_t)strtoul(argv[1], NULL, 10) : DEFAULT_BOUND;
    unsigned char *sieve;
    size_t i, j;

    sieve = malloc(bound / 8 + 1);
    if (sieve == NULL) {
        fprintf(stderr, "out of memory\n");
        return EXIT_FAILURE;
    }
    memset(sieve, 0, bound / 8 + 1);

    for (i = 2; i * i < bound; i++) {
        if (IS_MARKED(sieve, i))
            continue;
        for (j = i * i; j < bound; j += i)
            MARK(sieve, j);
    }

    printf("%zu primes below %zu\n", count_primes(sieve, bound), bound);
    free(sieve);
    return EXIT_SUCCESS;
}
