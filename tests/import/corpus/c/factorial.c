#include <stdio.h>

/* n! computed two ways, to compare the results. */

unsigned long factorial_rec(unsigned int n)
{
    if (n <= 1)
        return 1;
    return n * factorial_rec(n - 1);
}

unsigned long factorial_loop(unsigned int n)
{
    unsigned long result = 1;
    unsigned int i;

    for (i = 2; i <= n; i++)
        result *= i;
    return result;
}

int main(void)
{
    unsigned int k;

    for (k = 0; k <= 12; ++k) {
        if (factorial_rec(k) != factorial_loop(k)) {
            printf("mismatch at %u\n", k);
            return 1;
        }
        printf("%2u! = %lu\n", k, factorial_loop(k));
    }
    return 0;
}
