static void FASTCALL f(UNUSED int argc, char **argv ATTRIBUTE_UNUSED) NAKED;
CHECK_TYPE (sqrt, double, (double));
void g(void) { list_for_each(p, &head) { n++; } puts(BOLD "x" PLAIN); }
END_CASE
