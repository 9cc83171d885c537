#include <stddef.h>

/* String helpers written with pointers, the way K&R taught them. */

size_t str_length(const char *s)
{
    const char *p = s;

    while (*p)
        p++;
    return (size_t)(p - s);
}

char *str_copy(char *dst, const char *src)
{
    char *d = dst;

    while ((*d++ = *src++) != '\0')
        ;
    return dst;
}

int str_compare(const char *a, const char *b)
{
    for (; *a == *b; a++, b++)
        if (*a == '\0')
            return 0;
    return *(const unsigned char *)a - *(const unsigned char *)b;
}

void str_reverse(char *s)
{
    char *end = s + str_length(s);

    if (end == s)
        return;
    do {
        char c = *s;
        *s++ = *--end;
        *end = c;
    } while (s < end - 1 && s < end);
}

char *str_trim(char *s)
{
    char *end;

    while (*s == ' ' || *s == '\t')
        ++s;
    end = s + str_length(s);
    while (end > s && (end[-1] == ' ' || end[-1] == '\t' || end[-1] == '\n'))
        --end;
    *end = '\0';
    return s;
}

int count_words(const char *s)
{
    int words = 0, inside = 0;

    do {
        if (*s == ' ' || *s == '\t' || *s == '\n' || *s == '\0') {
            if (inside)
                words++;
            inside = 0;
        } else
            inside = 1;
    } while (*s++);
    return words;
}
