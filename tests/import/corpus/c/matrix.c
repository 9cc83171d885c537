/* C99: declarations in for loops, variable-length arrays as parameters. */
#include <stdio.h>
#include <stdbool.h>

void mat_mul(int n, const double a[n][n], const double b[n][n], double out[n][n])
{
    for (int i = 0; i < n; i++)
        for (int j = 0; j < n; j++) {
            double sum = 0.0;
            for (int k = 0; k < n; k++)
                sum += a[i][k] * b[k][j];
            out[i][j] = sum;
        }
}

bool mat_is_identity(int n, const double m[n][n])
{
    for (int i = 0; i < n; i++) {
        for (int j = 0; j < n; j++) {
            const double expected = i == j ? 1.0 : 0.0;
            if (m[i][j] != expected)
                return false;
        }
    }
    return true;
}

void mat_print(int n, const double m[n][n])
{
    for (int i = 0; i < n; i++) {
        for (int j = 0; j < n; j++)
            printf("%8.3f", m[i][j]);
        putchar('\n');
    }
}

int main(void)
{
    double a[2][2] = { { 1.0, 2.0 }, { 3.0, 4.0 } };
    double inv[2][2] = { { -2.0, 1.0 }, { 1.5, -0.5 } };
    double r[2][2];

    mat_mul(2, a, inv, r);
    mat_print(2, r);
    printf("identity: %s\n", mat_is_identity(2, r) ? "yes" : "no");
    return 0;
}
