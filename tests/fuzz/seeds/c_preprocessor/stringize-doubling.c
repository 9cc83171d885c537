#define S(a) #a
#define X(a) S(a)
void f(void) {
  x = X(X(X(X(X(X(X(X(X(X(X(X(X(X(X(X(X(X(X(X(X(X(X(X(X(X(X(X(z))))))))))))))))))))))))))));
}
