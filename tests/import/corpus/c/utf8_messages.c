/*
 * Сообщения программы на нескольких языках. Ελληνικά, 日本語, emoji 🙂.
 * Texts in other alphabets stay as they are in strings and comments.
 */
#include <stdio.h>
#include <wchar.h>

enum lang { LANG_EN, LANG_RU, LANG_DE, LANG_GR };

static const char *greetings[] = {
    "Hello",
    "Здравствуйте",   /* Russian */
    "Grüß Gott",      // German
    "Γειά σου",
};

const char *greeting(enum lang l)
{
    // Выбор строки по номеру языка.
    if (l < LANG_EN || l > LANG_GR)
        return "?";
    return greetings[l];
}

int main(void)
{
    const wchar_t *wide = L"Привет";
    char quote = '\'', backslash = '\\', tab = '\t', nul = '\0', hex = '\x41', oct = '\101';

    printf("%s, мир!\n", greeting(LANG_RU));
    printf("«%s» — \"quoted\"\n", greeting(LANG_DE));
    printf("%ls %c%c%c%c%c%c\n", wide, quote, backslash, tab, nul ? 'y' : 'n', hex, oct);
    puts("строка с \\ и \" внутри, и продолжение \
на следующей строке");
    return 0;
}
