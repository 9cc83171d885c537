#include <stdio.h>
#include <stdlib.h>
#include <time.h>

int main(void)
{
    int secret, guess, tries = 0;

    srand((unsigned)time(NULL));
    secret = rand() % 100 + 1;
    do {
        printf("Your guess (1-100): ");
        if (scanf("%d", &guess) != 1)
            return 1;
        tries++;
        if (guess < secret)
            puts("Too small.");
        else if (guess > secret)
            puts("Too big.");
    } while (guess != secret);
    printf("Right after %d tries!\n", tries);
    return 0;
}
