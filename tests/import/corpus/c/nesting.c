/* Nested conditions: an else belongs to the nearest if. */
#include <stdio.h>

const char *classify(int x, int y)
{
    if (x > 0)
        if (y > 0)
            return "first quadrant";
        else
            return "fourth quadrant";
    else if (x < 0) {
        if (y > 0)
            return "second quadrant";
        return "third quadrant";
    } else
        return "on an axis";
}

int grade(int score)
{
    int g;

    if (score >= 90) g = 5;
    else if (score >= 75) g = 4;
    else if (score >= 60) g = 3;
    else g = 2;
    return g;
}

void count_down(int n)
{
    while (n > 0)
        if (n % 2)
            printf("%d odd\n", n--);
        else
            printf("%d even\n", n--);
    for (;;)
        if (n++ > 3)
            break;
}
