#include <stdio.h>

static void swap(int *a, int *b)
{
    int t = *a;
    *a = *b;
    *b = t;
}

void bubble_sort(int v[], int n)
{
    int i, j, swapped;

    for (i = 0; i < n - 1; i++) {
        swapped = 0;
        for (j = 0; j < n - 1 - i; j++)
            if (v[j] > v[j + 1]) {
                swap(&v[j], &v[j + 1]);
                swapped = 1;
            }
        if (!swapped)
            break;
    }
}

void print_array(const int *v, int n)
{
    int i;
    for (i = 0; i < n; i++)
        printf("%d%c", v[i], i + 1 < n ? ' ' : '\n');
}

int main(void)
{
    int data[] = { 5, 1, 4, 2, 8, 0, -3 };
    int n = (int)(sizeof data / sizeof data[0]);

    print_array(data, n);
    bubble_sort(data, n);
    print_array(data, n);
    return 0;
}
