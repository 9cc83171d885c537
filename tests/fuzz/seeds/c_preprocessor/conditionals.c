#define LEVEL 3
#if LEVEL > 2 && defined(FAST) || __has_include(<x.h>)
int a;
#elif 1
int b;
#else
int c;
#endif
