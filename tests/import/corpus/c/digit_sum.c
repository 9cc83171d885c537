/*
 * Exercise 2.4: read a number and print the sum of its digits.
 */
#include <stdio.h>

int main()
{
    long n;
    int sum = 0;

    printf("Number: ");
    scanf("%ld", &n);
    if (n < 0)
        n = -n;
    while (n > 0) {
        sum += n % 10;
        n /= 10;
    }
    printf("Sum of digits: %d\n", sum);
    return 0;
}
