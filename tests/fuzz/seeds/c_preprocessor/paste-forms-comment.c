#define P(a,b) a##b
void f(void) {
  x = 1; P(/,/) y = 2;
  z = 3; P(/,*) w = 4; */
}
