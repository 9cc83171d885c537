// The C grammar: the symbols the import relies on, the C that people write,
// and the reports of texts it cannot read.
#include "c_import_support.h"
#include "parser/gold_parser.h"
#include <gtest/gtest.h>
#include <map>
#include <set>

namespace tvx::test {
namespace {

TEST(CGrammar, TablesHoldTheSymbolsTheImportReadsWithTheirKinds) {
    TGOLDParser parser;
    ASSERT_TRUE(parser.LoadCompiledGrammar(CGrammarFile()));
    EXPECT_EQ(parser.GetVariables().GetValue("Case Sensitive"), "True");
    std::map<std::string, std::set<int>> kinds;
    const TSymbolTable& symbols = parser.GetSymbolTable();
    for (int32_t i = 0; i < symbols.GetCount(); ++i) {
        kinds[symbols.GetItem(i)->Name].insert(symbols.GetItem(i)->Kind);
    }
    for (const char* name : {"Func Decl", "Func ID", "Type", "Params", "Param", "Block", "Stm List",
                             "Stm", "Then Stm", "Normal Stm", "Expr", "Op Assign"}) {
        EXPECT_EQ(kinds[name], std::set<int>{skNonterminal}) << name;
    }
    for (const char* name : {"if", "else", "while", "do", "for", ";"}) {
        EXPECT_EQ(kinds[name], std::set<int>{skTerminal}) << name;
    }
    int whitespace = 0, comments = 0, end = 0, error = 0;
    for (const auto& [name, set] : kinds) {
        whitespace += int(set.count(skWhitespace));
        comments +=
            int(set.count(skCommentStart) + set.count(skCommentEnd) + set.count(skCommentLine));
        end += int(set.count(skEnd));
        error += int(set.count(skError));
    }
    EXPECT_EQ(whitespace, 1);
    EXPECT_EQ(comments, 3);
    EXPECT_EQ(end, 1);
    EXPECT_EQ(error, 1);
}

// Each text must be accepted; the outline of its first chart is checked
// where it shows how the text was read.
struct TAccepted {
    const char* Text;
    const char* FirstChart; // nullptr: not checked
};

void ExpectAccepted(const std::vector<TAccepted>& Cases) {
    for (const TAccepted& accepted : Cases) {
        const TCImport result = ImportC(QString::fromUtf8(accepted.Text));
        EXPECT_TRUE(result.Ok) << accepted.Text << "\n" << result.Report.Message.toStdString();
        if (result.Ok && accepted.FirstChart != nullptr) {
            EXPECT_EQ(result.Outline(0), QString::fromUtf8(accepted.FirstChart)) << accepted.Text;
        }
    }
}

TEST(CGrammar, ReadsDeclarationsOfEveryKind) {
    ExpectAccepted({
        {"typedef unsigned long ulong; typedef struct node node_t; typedef int (*cmp_fn)(const "
         "void *, const void *); typedef void (*handler_t)(int sig);",
         nullptr},
        {"struct point { int x, y; } origin = { 0, 0 }, *cursor; union value { int i; float f; "
         "char *s; struct { int a; } nested; };",
         nullptr},
        {"enum color { RED, GREEN = 2, BLUE, }; enum { A, B } flags; enum color c = RED;", nullptr},
        {"static const char *const names[] = { \"a\", \"b\", }; int m[3][3] = { { 1 }, { 2, 3 } "
         "};",
         nullptr},
        {"struct point p = { .x = 1, .y = 2 }; int a[10] = { [2] = 5, [4] = 7 }; struct s { "
         "unsigned flag : 1; unsigned : 3; int (*cb)(void *); } v;",
         nullptr},
        {"extern int errno; register int r; volatile unsigned long long big = 123ULL; long "
         "double ld = 1.5L; _Bool b; signed char sc; short int si;",
         nullptr},
        {"size_t n; FILE *fp = NULL; GtkWidget *w, **ws; const T *p; T const *q; static T t = "
         "{ 0 };",
         nullptr},
        {"void (*signal(int sig, void (*func)(int)))(int); int (*ops[4])(int, int); char "
         "*(*fp)(void);",
         nullptr},
        {"int printf(const char *fmt, ...); void qsort(void *, size_t, size_t, int (*)(const void "
         "*, const void *)); int f(); int g(void);",
         nullptr},
        {"extern void die(const char *msg) __attribute__((noreturn, format(printf, 1, 2))); int "
         "unused __attribute__((unused)) = 0; __declspec(dllexport) int api(void);",
         nullptr},
        {"#ifdef __cplusplus\nextern \"C\" {\n#endif\nint api(void);\n#ifdef "
         "__cplusplus\n}\n#endif\n",
         nullptr},
        {"static inline int sq(int x) { return x * x; }", "7:static inline int sq(int x){0:return "
                                                          "x*x}"},
        {"T make(U u) { T t = u; return t; }", "7:T make(U u){0:return t}"},
        {"int sum(n, v) int n; int *v; { register i, s = 0; for (i = 0; i < n; i++) s += v[i]; "
         "return s; }",
         "7:int sum(n, v){6:(i=0; i<n; i++){0:s += v[i]}; 0:return s}"},
        {"char *argv0(int argc, char *argv[]) { return argv[0]; }",
         "7:char* argv0(int argc, char* argv[]){0:return argv[0]}"},
    });
}

TEST(CGrammar, ReadsEveryStatement) {
    ExpectAccepted({
        {"void f(void) { x = 1; { int y = 2; y++; } ; }", "7:void f(void){0:x = 1; 0:y++}"},
        {"void f(void) { if (a) b(); else if (c) d(); else { e(); } }",
         "7:void f(void){3:a{0:b() | 3:c{0:d() | 0:e()}}}"},
        {"void f(void) { switch (c) { case 'a': case 'b': n++; break; default: ; } }",
         "7:void f(void){0:n++}"},
        {"void f(void) { while (i < 10) i++; do { i--; } while (i); }",
         "7:void f(void){4:i<10{0:i++}; 5:i{0:i--}}"},
        {"void f(void) { for (int i = 0, j = 9; i < j; ++i, --j) continue; }",
         "7:void f(void){6:(int i=0,j=9; i<j; ++i,--j){}}"},
        {"void f(void) { for (T *p = head; p; p = p->next) visit(p); }",
         "7:void f(void){6:(T*p=head; p; p=p->next){0:visit(p)}}"},
        {"void f(void) { again: if (more()) goto again; return; }",
         "7:void f(void){3:more(){ | }; 0:return}"},
        {"int f(void) { return (a, b); }", "7:int f(void){0:return (a,b)}"},
    });
}

TEST(CGrammar, ReadsEveryExpression) {
    ExpectAccepted({
        {"void f(void) { x = a + b - c * d / e % g; x = a << 1 >> 2; x = a < b && c <= d || e > f "
         "&& g >= h; x = a == b != c; x = a & b | c ^ d; x = ~a + !b + -c + +d; }",
         nullptr},
        {"void f(void) { x += 1; x -= 1; x *= 2; x /= 2; x %= 3; x <<= 1; x >>= 1; x &= 7; x |= "
         "8; x ^= 9; x = y = z; }",
         nullptr},
        {"void f(void) { i++; i--; ++i; --i; *p++ = *q++; (*p)++; a[i][j] = s.f + p->g; x = c ? "
         "y : z; }",
         nullptr},
        {"void f(void) { n = sizeof x + sizeof(int) + sizeof(struct s) + sizeof(T *) + sizeof "
         "*p + sizeof(a) / sizeof(a[0]); }",
         "7:void f(void){0:n = sizeof x+sizeof(int)+sizeof(struct s)+sizeof(T*)+sizeof "
         "*p+sizeof(a)/sizeof(a[0])}"},
        {"void f(void) { p = (char *)malloc(n); q = (T *)p; r = (T **)calloc(n, sizeof(T *)); u "
         "= (unsigned char)c; v = (size_t)n; w = (uint8_t)(x >> 8); (void)printf(\"%d\", 1); }",
         "7:void f(void){0:p = (char*)malloc(n); 0:q = (T*)p; 0:r = (T**)calloc(n,sizeof(T*)); "
         "0:u = (unsigned char)c; 0:v = (size_t)n; 0:w = (uint8_t)(x>>8); "
         "0:(void)printf(\"%d\",1)}"},
        {"void f(void) { x = va_arg(ap, int); y = va_arg(ap, char *); z = va_arg(ap, T *); o = "
         "offsetof(struct s, m); }",
         nullptr},
        {"void f(void) { r = (*fp)(a, b); r = fp(a, b); r = table[i].fn(x); g()(); (*h)(); }",
         nullptr},
        {"void f(void) { p = (struct point){ 1, 2 }; s = \"a\" \"b\" PRId64 \"c\"; c = L'x'; w = "
         "L\"wide\"; }",
         nullptr},
        {"void f(void) { n = 0x1F + 017 + 10UL + 3.14e-2f + .5 + 1e10 + 0x1.8p3; }",
         "7:void f(void){0:n = 0x1F+017+10UL+3.14e-2f+.5+1e10+0x1.8p3}"},
        {"void f(void) { c = '\\n'; c = '\\''; c = '\\\\'; c = '\\x41'; c = '\\101'; s = \"tab\\t "
         "quote\\\" back\\\\\"; }",
         nullptr},
    });
}

TEST(CGrammar, SkipsPreprocessorLinesAndComments) {
    ExpectAccepted({
        {"#include <stdio.h>\n#define MAX(a, b) \\\n    ((a) > (b) ? (a) : (b))\n#define "
         "UNBALANCED {\n#if 0\n#else\n#endif\nint x;\n",
         nullptr},
        {"#define START /* a comment over\n   two lines */ 1\n# pragma once\n#\nint x; // the "
         "end\n",
         nullptr},
        {"/* a /* b */ int x;\n/**/ /***/ /* ** / */ int y; /* x */ // y /* z\n", nullptr},
        {"void f(void)\n{\n    // comment\n    x = 1; /* inside */ y = 2;\n#ifdef DEBUG\n    "
         "trace();\n#endif\n}\n",
         "7:void f(void){0:x = 1; 0:y = 2}"},
        {"/* Комментарий, Ελληνικά, 日本語 🙂 */\n"
         "const char *s = \"Привет — ünïcödé\"; // ещё\n",
         nullptr},
        {"\xEF\xBB\xBFint with_byte_order_mark;", nullptr},
    });
}

TEST(CGrammar, KeywordsAreCaseSensitive) {
    const TCImport result = ImportC("void f(void) { int While = 1; If(While); WHILE(x); }");
    ASSERT_TRUE(result.Ok) << result.Report.Message.toStdString();
    EXPECT_EQ(result.Outline(), "7:void f(void){0:If(While); 0:WHILE(x)}");
}

TEST(CGrammarReport, LexicalErrorGivesItsLineOnCrLfText) {
    const TCImport result = ImportC("int f(void)\r\n{\r\n    x = 1 @ 2;\r\n}\r\n");
    EXPECT_FALSE(result.Ok);
    EXPECT_EQ(result.Report.Message, "Line 3: Lexical Error: Cannot recognize token: @");
    EXPECT_EQ(result.Report.Line, 3);
    EXPECT_TRUE(result.Charts.empty());
    // The message and the log show the whole character, not its first byte.
    TTVXParseChartes import(slCpp);
    import.GrammarFile = CGrammarFile();
    import.LoadFromText("int f(void) { x = 1; ж }");
    TErrorReport report;
    EXPECT_FALSE(import.Parse(report));
    EXPECT_EQ(report.Message, "Line 1: Lexical Error: Cannot recognize token: ж");
    const QStringList log = import.GetLog().Lines();
    EXPECT_EQ(log.mid(log.size() - 4, 3),
              QStringList({"Lexical Error\t", "Cannot recognize token\t", "ж\t"}));
}

TEST(CGrammarReport, LinesAreCountedThroughContinuedLinesAndComments) {
    const TCImport result = ImportC("#define A \\\n  1\n/* two\n   lines */\nint f(void)\n{\n"
                                    "    x = ;\n}\n");
    EXPECT_FALSE(result.Ok);
    EXPECT_EQ(result.Report.Line, 7);
    EXPECT_TRUE(result.Report.Message.startsWith(
        "Line 7: Syntax Error: Expecting the following tokens: Id Number"))
        << result.Report.Message.toStdString();
}

TEST(CGrammarReport, ACommentThatIsNeverClosed) {
    const TCImport result = ImportC("int f(void)\n{\n    x = 1; /* not closed\n    y = 2;\n}\n");
    EXPECT_FALSE(result.Ok);
    EXPECT_EQ(result.Report.Message,
              QString::fromUtf8("Ошибка в комментариях! Неожиданный конец файла в строке 6"));
    EXPECT_EQ(result.Report.Line, 6);
}

} // namespace
} // namespace tvx::test
