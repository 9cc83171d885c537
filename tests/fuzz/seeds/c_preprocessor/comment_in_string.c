#define OPEN "/*"
void f(void) { a = 1; }
/* */
