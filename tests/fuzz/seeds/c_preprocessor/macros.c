#define CAT(a, b) a##b
#define STR(x) #x
#define LOG(fmt, ...) printf(fmt, ##__VA_ARGS__)
#define PROTO(args) args
static int f PROTO((int a));
void g(void) { CAT(my, var)++; puts(STR(a "b")); LOG("x"); }
