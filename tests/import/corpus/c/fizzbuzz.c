#include <stdio.h>

#define LIMIT 100

int main(int argc, char *argv[])
{
    int i;
    int limit = LIMIT;

    if (argc > 1)
        limit = atoi(argv[1]);

    for (i = 1; i <= limit; i++) {
        if (i % 15 == 0)
            puts("FizzBuzz");
        else if (i % 3 == 0)
            puts("Fizz");
        else if (i % 5 == 0)
            puts("Buzz");
        else
            printf("%d\n", i);
    }
    return 0;
}
