#define O"\

O