/* Every operator of C at least once, on unsigned integers. */
#include <stdint.h>
#include <limits.h>

typedef unsigned long long u64;

unsigned popcount32(uint32_t x)
{
    x = x - ((x >> 1) & 0x55555555u);
    x = (x & 0x33333333u) + ((x >> 2) & 0x33333333u);
    x = (x + (x >> 4)) & 0x0F0F0F0Fu;
    return (x * 0x01010101u) >> 24;
}

int is_power_of_two(u64 v)
{
    return v && !(v & (v - 1));
}

uint32_t rotate_left(uint32_t v, unsigned n)
{
    n &= 31;
    return n ? (v << n) | (v >> (32 - n)) : v;
}

u64 next_power_of_two(u64 v)
{
    if (v == 0)
        return 1;
    v--;
    v |= v >> 1; v |= v >> 2; v |= v >> 4;
    v |= v >> 8; v |= v >> 16; v |= v >> 32;
    return ++v;
}

int sign_of(int x)
{
    return (x > 0) - (x < 0);
}

unsigned char reverse_bits(unsigned char b)
{
    unsigned char r = 0;
    int i;

    for (i = 0; i < CHAR_BIT; i++, b >>= 1)
        r = (unsigned char)((r << 1) | (b & 1));
    return r;
}

void flags_demo(unsigned *flags)
{
    *flags |= 1u << 3;
    *flags &= ~(1u << 1);
    *flags ^= 0xF0;
    *flags <<= 1;
    *flags >>= 2;
    *flags %= 1000;
    *flags /= 3;
    *flags *= 7;
    *flags -= 1;
    *flags += ~0u >> 28;
    if (*flags != 0 && *flags <= 100 || *flags >= 5000 && !(*flags == 42))
        *flags = -(int)*flags, *flags = +*flags;
}
