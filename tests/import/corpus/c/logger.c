/* A small logging module with variadic functions. */
#include <stdarg.h>
#include <stdio.h>
#include <string.h>
#include <time.h>

typedef enum { LOG_DEBUG, LOG_INFO, LOG_WARN, LOG_ERROR } log_level;

static FILE *log_stream;
static log_level threshold = LOG_INFO;
static const char *const level_names[] = { "DEBUG", "INFO", "WARN", "ERROR" };

void log_init(FILE *stream, log_level level)
{
    log_stream = stream ? stream : stderr;
    threshold = level;
}

static void log_vwrite(log_level level, const char *fmt, va_list ap)
{
    char stamp[32];
    time_t now = time(NULL);
    struct tm *tm = localtime(&now);

    if (level < threshold)
        return;
    strftime(stamp, sizeof stamp, "%Y-%m-%d %H:%M:%S", tm);
    fprintf(log_stream, "%s [%s] ", stamp, level_names[level]);
    vfprintf(log_stream, fmt, ap);
    fputc('\n', log_stream);
}

void log_write(log_level level, const char *fmt, ...)
{
    va_list ap;

    va_start(ap, fmt);
    log_vwrite(level, fmt, ap);
    va_end(ap);
}

int sum_ints(int count, ...)
{
    va_list ap;
    int total = 0;

    va_start(ap, count);
    while (count-- > 0)
        total += va_arg(ap, int);
    va_end(ap);
    return total;
}

size_t join_strings(char *out, size_t size, const char *sep, ...)
{
    va_list ap;
    const char *piece;
    size_t used = 0;

    if (size == 0)
        return 0;
    out[0] = '\0';
    va_start(ap, sep);
    while ((piece = va_arg(ap, const char *)) != NULL) {
        if (used > 0)
            strncat(out, sep, size - strlen(out) - 1);
        strncat(out, piece, size - strlen(out) - 1);
        used++;
    }
    va_end(ap);
    return used;
}
