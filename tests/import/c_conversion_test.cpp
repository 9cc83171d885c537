// C sources become charts: one per function definition, captioned with its
// signature, with the blocks of its statements in the right chains and
// branches.
#include "c_import_support.h"
#include <gtest/gtest.h>

namespace tvx::test {
namespace {

TEST(CConversion, EveryFunctionDefinitionIsAChartCaptionedWithItsSignature) {
    const TCImport result = ImportC(R"(#include <stdio.h>
int add(int a, int b);              /* a prototype makes no chart */
int add(int a, int b) { return a + b; }
int main() { return add(1, 2); }
static const char *name_of(const struct item *it, char *argv[], unsigned long n) { return 0; }
int printf_like(const char *fmt, ...) { return 0; }
void no_args(void) {}
int gcd(a, b) int a, b; { return b ? gcd(b, a % b) : a; }
main() { }
int apply(int (*op)(int, int), T value) { return op(value, 1); }
void *copy(void *restrict dst, const char *const src, volatile int *v) { return dst; }
)");
    ASSERT_TRUE(result.Ok) << result.Report.Message.toStdString();
    EXPECT_EQ(
        result.Captions(),
        QStringList({"int add(int a, int b)", "int main()",
                     "static const char* name_of(const struct item* it, char* argv[], "
                     "unsigned long n)",
                     "int printf_like(const char* fmt, ...)", "void no_args(void)", "int gcd(a, b)",
                     "main()", "int apply(int (*op)(int,int), T value)",
                     "void* copy(void* restrict dst, const char* const src, volatile int* v)"}));
    // The root block holds the caption too.
    EXPECT_EQ(result.Outline(0), "7:int add(int a, int b){0:return a+b}");
    EXPECT_EQ(result.Outline(6), "7:main(){}");
    for (const auto& chart : result.Charts) {
        EXPECT_EQ(ChartFault(*chart), "") << chart->Caption.toStdString();
    }
}

TEST(CConversion, ExpressionStatementsAndReturnsAreProcessBlocks) {
    const TCImport result = ImportC(R"(void f(void)
{
    total = total + price * (1 + rate / 100);
    count += 2;
    mask <<= shift;
    printf("sum = %d\n", sum);
    i++, j--;
    x = (unsigned char)c;
    y = a - -b;
    z = sizeof *p + sizeof(int);
    return;
    return -1;
    return (int)x;
}
)");
    ASSERT_TRUE(result.Ok) << result.Report.Message.toStdString();
    // An assignment keeps its operator between blanks; the rest of the text
    // loses its blanks except where tokens would run together.
    EXPECT_EQ(result.Outline(), "7:void f(void){0:total = total+price*(1+rate/100); 0:count += 2; "
                                "0:mask <<= shift; 0:printf(\"sum = %d\\n\",sum); 0:i++; 0:j--; "
                                "0:x = (unsigned char)c; 0:y = a- -b; 0:z = sizeof *p+sizeof(int); "
                                "0:return; 0:return -1; 0:return (int)x}");
}

TEST(CConversion, DeclarationsMakeNoBlocksAndAMacroCallIsACall) {
    const TCImport result = ImportC(R"(void g(void)
{
    int i = 0, j;
    CURLcode res;
    GtkWidget *w = gtk_window_new(GTK_WINDOW_TOPLEVEL);
    A * b;
    A b;
    struct point p = { 1, 2 };
    int (*handler)(int) = on_signal;
    f(x);
    va_start(ap, fmt);
    ASSERT(i == 0);
    for (int k = 0; k < 3; k++) use(k);
}
)");
    ASSERT_TRUE(result.Ok) << result.Report.Message.toStdString();
    EXPECT_EQ(result.Outline(), "7:void g(void){0:f(x); 0:va_start(ap,fmt); 0:ASSERT(i==0); "
                                "6:(int k=0; k<3; k++){0:use(k)}}");
}

TEST(CConversion, IfStatementsKeepBothParts) {
    const TCImport result = ImportC(R"(void h(void)
{
    if (a > b)
        max = a;
    else
        max = b;
    if (x) y = 1;
    z = 2;
    if (p) if (q) r = 1; else r = 2;
    if (c) { } else { d = 1; }
    e = 3;
}
)");
    ASSERT_TRUE(result.Ok) << result.Report.Message.toStdString();
    // An if without else keeps its statement in the yes branch, and an else
    // belongs to the nearest if.
    EXPECT_EQ(result.Outline(), "7:void h(void){3:a>b{0:max = a | 0:max = b}; 3:x{0:y = 1 | }; "
                                "0:z = 2; 3:p{3:q{0:r = 1 | 0:r = 2} | }; 3:c{ | 0:d = 1}; "
                                "0:e = 3}");
}

TEST(CConversion, LoopsHoldTheirBodies) {
    const TCImport result = ImportC(R"(void k(void)
{
    while (n > 0) { sum += n % 10; n /= 10; }
    do x--; while (x);
    for (i = 0, j = n; i < j; i++, j--) swap(i, j);
    for (;;) break;
    while (busy()) {}
    after = 1;
}
)");
    ASSERT_TRUE(result.Ok) << result.Report.Message.toStdString();
    EXPECT_EQ(result.Outline(),
              "7:void k(void){4:n>0{0:sum += n%10; 0:n /= 10}; 5:x{0:x--}; "
              "6:(i=0,j=n; i<j; i++,j--){0:swap(i,j)}; 6:(; ; ){}; 4:busy(){}; 0:after = 1}");
}

TEST(CConversion, ALoopWithAnEmptyBodyHoldsOneEmptyProcessBlock) {
    const TCImport result = ImportC(R"(void skip(void)
{
    while (*p++ == ' ');
    for (n = 0; s[n]; n++)
        ;
    do ; while (again());
    if (ready) while (wait());
    done = 1;
}
)");
    ASSERT_TRUE(result.Ok) << result.Report.Message.toStdString();
    EXPECT_EQ(result.Outline(), "7:void skip(void){4:*p++==' '{0:}; 6:(n=0; s[n]; n++){0:}; "
                                "5:again(){0:}; 3:ready{4:wait(){0:} | }; 0:done = 1}");
    EXPECT_EQ(ChartFault(*result.Charts[0]), "");
}

TEST(CConversion, SwitchesAndLabelsAreLookedInto) {
    const TCImport result = ImportC(R"(int m(int op)
{
    switch (op) {
    case ADD:
        acc += v;
        break;
    case SUB: case NEG:
        acc -= v;
        /* fall through */
    default:
        goto out;
    }
out:
    return acc;
}
)");
    ASSERT_TRUE(result.Ok) << result.Report.Message.toStdString();
    // The cases follow one another; break and goto leave no block.
    EXPECT_EQ(result.Outline(), "7:int m(int op){0:acc += v; 0:acc -= v; 0:return acc}");
}

TEST(CConversion, ASourceWithoutFunctionsGivesNoChart) {
    const TCImport result = ImportC(R"(#ifndef LIST_H
#define LIST_H
typedef struct node { int value; struct node *next; } node;
extern int list_size(const node *head);
static const int primes[] = { 2, 3, 5, 7 };
#endif
)");
    EXPECT_TRUE(result.Ok);
    EXPECT_TRUE(result.Report.Message.isEmpty());
    EXPECT_TRUE(result.Charts.empty());
    EXPECT_TRUE(ImportC("").Ok);
    EXPECT_TRUE(ImportC("/* nothing but a comment */\n// and another\n").Charts.empty());
}

} // namespace
} // namespace tvx::test
