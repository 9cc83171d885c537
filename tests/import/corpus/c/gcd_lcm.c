/* Old-style definitions, the way the first C books wrote them. */
#include <stdio.h>

int gcd(a, b)
int a, b;
{
    int t;

    while (b != 0) {
        t = a % b;
        a = b;
        b = t;
    }
    return a;
}

long lcm(a, b)
    int a;
    int b;
{
    return (long)a / gcd(a, b) * b;
}

main()
{
    int x, y;

    printf("two numbers: ");
    if (scanf("%d %d", &x, &y) != 2)
        return 1;
    printf("gcd %d, lcm %ld\n", gcd(x, y), lcm(x, y));
    return 0;
}
