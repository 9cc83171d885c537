#include <stdio.h>
#include <string.h>

typedef enum { DEPOSIT, WITHDRAW, BALANCE, QUIT } action_t;

typedef struct account {
    char owner[40];
    long cents;
    unsigned int transactions;
} account_t;

static account_t accounts[8];
static int account_count;

account_t *open_account(const char *owner)
{
    account_t *a;

    if (account_count >= (int)(sizeof accounts / sizeof *accounts))
        return NULL;
    a = &accounts[account_count++];
    strncpy(a->owner, owner, sizeof a->owner - 1);
    a->owner[sizeof a->owner - 1] = '\0';
    a->cents = 0;
    a->transactions = 0;
    return a;
}

int apply(account_t *a, action_t action, long amount)
{
    switch (action) {
    case DEPOSIT:
        if (amount <= 0)
            return -1;
        a->cents += amount;
        break;
    case WITHDRAW:
        if (amount <= 0 || amount > a->cents)
            return -1;
        a->cents -= amount;
        break;
    case BALANCE:
        printf("%s: %ld.%02ld\n", a->owner, a->cents / 100, a->cents % 100);
        return 0;
    default:
        return -1;
    }
    a->transactions++;
    return 0;
}

action_t parse_action(const char *word)
{
    static const struct { const char *name; action_t action; } table[] = {
        { "deposit", DEPOSIT }, { "withdraw", WITHDRAW }, { "balance", BALANCE },
    };
    unsigned i;

    for (i = 0; i < sizeof table / sizeof table[0]; i++)
        if (strcmp(word, table[i].name) == 0)
            return table[i].action;
    return QUIT;
}

int main(void)
{
    account_t *acc = open_account("Ada");
    char word[16];
    long amount = 0;

    while (scanf("%15s", word) == 1) {
        action_t act = parse_action(word);
        if (act == QUIT)
            break;
        if (act != BALANCE && scanf("%ld", &amount) != 1)
            break;
        if (apply(acc, act, amount) != 0)
            puts("refused");
    }
    return 0;
}
