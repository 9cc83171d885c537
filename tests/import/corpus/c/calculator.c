/* A tiny desk calculator: numbers and + - * / on one line, left to right. */
#include <ctype.h>
#include <stdio.h>

enum token_kind { TK_NUMBER, TK_OPERATOR, TK_END, TK_ERROR };

struct token {
    enum token_kind kind;
    double value;
    char op;
};

static const char *cursor;

static struct token next_token(void)
{
    struct token t;

    while (isspace((unsigned char)*cursor))
        cursor++;
    if (*cursor == '\0') {
        t.kind = TK_END;
    } else if (isdigit((unsigned char)*cursor) || *cursor == '.') {
        char *end;
        t.kind = TK_NUMBER;
        t.value = strtod(cursor, &end);
        cursor = end;
    } else if (*cursor == '+' || *cursor == '-' || *cursor == '*' || *cursor == '/') {
        t.kind = TK_OPERATOR;
        t.op = *cursor++;
    } else {
        t.kind = TK_ERROR;
    }
    return t;
}

int evaluate(const char *text, double *result)
{
    struct token t = next_token();
    double acc;

    cursor = text;
    t = next_token();
    if (t.kind != TK_NUMBER)
        return 0;
    acc = t.value;
    for (;;) {
        struct token op = next_token(), num;
        if (op.kind == TK_END)
            break;
        num = next_token();
        if (op.kind != TK_OPERATOR || num.kind != TK_NUMBER)
            return 0;
        switch (op.op) {
        case '+':
            acc += num.value;
            break;
        case '-':
            acc -= num.value;
            break;
        case '*':
            acc *= num.value;
            break;
        case '/':
            if (num.value == 0.0)
                return 0;
            acc /= num.value;
            break;
        default:
            return 0;
        }
    }
    *result = acc;
    return 1;
}

int main(void)
{
    char line[256];
    double value;

    while (fgets(line, sizeof line, stdin) != NULL) {
        if (evaluate(line, &value))
            printf("= %g\n", value);
        else
            puts("error");
    }
    return 0;
}
