#include <stdio.h>
#include <stdlib.h>

struct tree {
    int key;
    int count;
    struct tree *left, *right;
};

struct tree *tree_insert(struct tree *t, int key)
{
    if (t == NULL) {
        t = malloc(sizeof *t);
        if (t == NULL)
            abort();
        t->key = key;
        t->count = 1;
        t->left = t->right = NULL;
    } else if (key < t->key)
        t->left = tree_insert(t->left, key);
    else if (key > t->key)
        t->right = tree_insert(t->right, key);
    else
        t->count++;
    return t;
}

int tree_height(const struct tree *t)
{
    int l, r;

    if (!t)
        return 0;
    l = tree_height(t->left);
    r = tree_height(t->right);
    return 1 + (l > r ? l : r);
}

void tree_print(const struct tree *t, int depth)
{
    if (t) {
        tree_print(t->left, depth + 1);
        printf("%*s%d (%d)\n", depth * 2, "", t->key, t->count);
        tree_print(t->right, depth + 1);
    }
}

void tree_free(struct tree *t)
{
    while (t != NULL) {
        struct tree *right = t->right;
        tree_free(t->left);
        free(t);
        t = right;
    }
}

int main(void)
{
    static const int keys[] = { 50, 30, 70, 20, 40, 60, 80, 30 };
    struct tree *root = NULL;
    size_t i;

    for (i = 0; i < sizeof keys / sizeof keys[0]; i++)
        root = tree_insert(root, keys[i]);
    tree_print(root, 0);
    printf("height %d\n", tree_height(root));
    tree_free(root);
    return 0;
}
