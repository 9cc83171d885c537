#include <stdio.h>
#include <stdlib.h>

typedef struct Node {
    int value;
    struct Node *next;
} Node;

typedef struct {
    Node *head;
    Node *tail;
    size_t length;
} List;

List *list_new(void)
{
    List *list = calloc(1, sizeof(List));
    return list;
}

int list_append(List *list, int value)
{
    Node *node = (Node *)malloc(sizeof(Node));

    if (!node)
        return -1;
    node->value = value;
    node->next = NULL;
    if (list->tail)
        list->tail->next = node;
    else
        list->head = node;
    list->tail = node;
    list->length++;
    return 0;
}

Node *list_find(const List *list, int value)
{
    Node *p;

    for (p = list->head; p != NULL && p->value != value; p = p->next)
        ;
    return p;
}

void list_reverse(List *list)
{
    Node *prev = NULL, *cur = list->head, *next;

    list->tail = list->head;
    while (cur) {
        next = cur->next;
        cur->next = prev;
        prev = cur;
        cur = next;
    }
    list->head = prev;
}

void list_free(List *list)
{
    Node *p = list->head;

    while (p) {
        Node *next = p->next;
        free(p);
        p = next;
    }
    free(list);
}

int main(void)
{
    List *list = list_new();
    int i;

    for (i = 1; i <= 5; i++)
        list_append(list, i * i);
    list_reverse(list);
    printf("found 9: %s\n", list_find(list, 9) ? "yes" : "no");
    list_free(list);
    return 0;
}
