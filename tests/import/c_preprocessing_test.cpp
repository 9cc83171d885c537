// The C import's preprocessing: directives, conditional compilation, the
// file's own macros and macros from headers it cannot read, with every line
// number kept.
#include "c_import_support.h"
#include <gtest/gtest.h>

namespace tvx::test {
namespace {

// Each source imports, its charts have these outlines, joined by " / ", and
// every statement reached them.
struct TCase {
    const char* Source;
    const char* Charts;
};

QString AllOutlines(const TCImport& Result) {
    QStringList outlines;
    for (int i = 0; i < int(Result.Charts.size()); ++i) {
        outlines << Result.Outline(i);
    }
    return outlines.join(QStringLiteral(" / "));
}

void ExpectCharts(const std::vector<TCase>& Cases) {
    for (const TCase& c : Cases) {
        const TCImport result = ImportC(QString::fromUtf8(c.Source));
        EXPECT_TRUE(result.Ok) << c.Source << "\n" << result.Report.Message.toStdString();
        EXPECT_EQ(AllOutlines(result), QString::fromUtf8(c.Charts)) << c.Source;
        EXPECT_EQ(result.Tally.Fault(), "") << c.Source;
    }
}

void ExpectRefused(const QString& Source, const char* Message, int Line) {
    const TCImport result = ImportC(Source);
    EXPECT_FALSE(result.Ok) << Source.left(200).toStdString();
    EXPECT_EQ(result.Report.Message, QString::fromUtf8(Message)) << Source.left(200).toStdString();
    EXPECT_EQ(result.Report.Line, Line) << Source.left(200).toStdString();
}

TEST(CPreprocessing, CommentMarksInsideStringsAndHeaderNamesOpenNoComment) {
    ExpectCharts({
        {"#define OPEN \"/*\"\nvoid f(void) { a = 1; }\nvoid g(void) { b = 2; } /* */\n",
         "7:void f(void){0:a = 1} / 7:void g(void){0:b = 2}"},
        {"#include <sys/*x.h>\nvoid f(void) { s = \"*/ // '\"; c = '\"'; }\n",
         "7:void f(void){0:s = \"*/ // '\"; 0:c = '\"'}"},
        {"#define X 1 /* a comment\n   over two lines */ + 2\nint v[X];\nvoid f(void) { a = X; }\n",
         "7:void f(void){0:a = X}"},
    });
}

TEST(CPreprocessing, KeepsOneBranchOfEachConditional) {
    ExpectCharts({
        {"#if 0\nvoid lost(void) { a = 1; }\n#else\nvoid kept(void) { b = 2; }\n#endif\n",
         "7:void kept(void){0:b = 2}"},
        // Two alternative headings of one function.
        {"#ifdef _WIN32\nint WinMain(void)\n#else\nint main(void)\n#endif\n{ run(); }\n",
         "7:int main(void){0:run()}"},
        {"#define LEVEL 3\n#define FAST\nvoid f(void) {\n#if LEVEL > 2 && defined(FAST) && "
         "!defined "
         "SLOW\n a();\n#elif LEVEL\n b();\n#else\n c();\n#endif\n#if (LEVEL * 2 - 6) || "
         "UNKNOWN_NAME\n d();\n#elif __has_include(<x.h>) || 0 && 1 / 0\n e();\n#elif 010 == 8 && "
         "0x10 "
         "== 16 && 'A' == 65 && (1 ? 2 : 3) == 2 && -1 < 0\n g();\n#endif\n}\n",
         "7:void f(void){0:a(); 0:g()}"},
        {"#ifndef GUARD_H\n#define GUARD_H\n#if 0\n#if 1\n#error no\n#else\nx(\n#endif\n#elif "
         "1\nvoid f(void) { ok(); }\n#endif\n#ifndef GUARD_H\nbroken(\n#endif\n#endif\n",
         "7:void f(void){0:ok()}"},
        {"#define ON 1\n#undef ON\n#ifdef ON\nvoid on(void) {}\n#elifndef ON\nvoid off(void) "
         "{}\n#endif\n",
         "7:void off(void){}"},
        {"#if __STDC_VERSION__ >= 199901L && __STDC__\nvoid c99(void) {}\n#endif\n",
         "7:void c99(void){}"},
    });
}

TEST(CPreprocessing, ExpandsTheFileOwnMacrosWhereTheyDoNotReadAsWritten) {
    ExpectCharts({
        // Macros standing for keywords and declarations are expanded...
        {"#define LOCAL static\n#define PROTO(args) args\n#define BEGIN {\n#define END }\n"
         "#define FOREVER for (;;)\nLOCAL int f PROTO((int a));\nLOCAL int f(int a)\nBEGIN\n "
         "FOREVER a--;\nEND\n",
         "7:static int f(int a){6:(; ; ){0:a--}}"},
        {"#define DECLARE(type, name) \\\n    type name = 0\n#define CAT(a, b) a##b\n#define "
         "STR(x) #x\n#define LOG(fmt, ...) printf(fmt, ##__VA_ARGS__)\nvoid f(void) { "
         "DECLARE(int, CAT(my, var)); CAT(my, var)++; puts(STR(a \"b\")); LOG(\"x\"); }\n",
         "7:void f(void){0:myvar++; 0:puts(\"a \\\"b\\\"\"); 0:LOG(\"x\")}"},
        // ...those that read like an expression or a statement stay as written.
        {"#define MAX(a, b) ((a) > (b) ? (a) : (b))\n#define LIMIT (MAX(1, 2) * 10)\n#define "
         "CHECK(c) do { if (!(c)) return 1; } while (0)\nint f(int x) { x = MAX(x, LIMIT); "
         "CHECK(x > 0); if (x) CHECK(x); else x++; return x; }\n",
         "7:int f(int x){0:x = MAX(x,LIMIT); 0:CHECK(x>0); 3:x{0:CHECK(x) | 0:x++}; 0:return x}"},
        // ", ## __VA_ARGS__" keeps its comma before arguments.
        {"#define DECL(t, ...) t x, ##__VA_ARGS__;\nDECL(int, y)\nvoid f(void) { x = y; }\n",
         "7:void f(void){0:x = y}"},
        // A macro never expands inside itself.
        {"#define g(x) x + g(x)\n#define EMPTY\nvoid f(void) { a = g(1) EMPTY; }\n",
         "7:void f(void){0:a = 1+g(1)}"},
    });
}

TEST(CPreprocessing, ReadsMacrosFromHeadersWherePlainCCannotHoldAName) {
    ExpectCharts({
        {"static MY_CONST char s[] = BOLD \"text\" PLAIN;\nstatic void FASTCALL f(void) NAKED;\n"
         "static void FASTCALL f(UNUSED int argc, char **argv ATTRIBUTE_UNUSED) NAKED { "
         "puts(BOLD \"text\" PLAIN); }\n",
         "7:static void f(int argc, char** argv){0:puts(BOLD\"text\"PLAIN)}"},
        {"LRESULT CALLBACK handler(gpointer data G_GNUC_UNUSED) { return 0; }\nstatic void "
         "XMLCDECL FORMAT(1, 2) report(char *fmt, ...) { n++; }\n",
         "7:LRESULT handler(gpointer data){0:return 0} / 7:static void report(char* fmt, "
         "...){0:n++}"},
        {"CHECK_TYPE (sqrt, double, (double));\nMODULE_LICENSE(\"GPL\")\nstatic int x;\n"
         "START_CASE(one) { a = 1; }\nEND_CASE\nvoid g(void) { list_for_each(p, &head) { n++; "
         "} }\nEND_CASE\n",
         "7:START_CASE(one){0:a = 1} / 7:void g(void){4:list_for_each(p,&head){0:n++}}"},
        // Plain C keeps its meaning: old-style parameters with type names,
        // prototypes without a type, tags.
        {"f(a, b) T a; U *b; { a = 1; }\ng();\nstruct S s;\nstruct S get(void) { return s; }\n",
         "7:f(a, b){0:a = 1} / 7:struct S get(void){0:return s}"},
    });
}

TEST(CPreprocessing, AMacroStatementWithoutItsSemicolonKeepsTheStatementAfterIt) {
    ExpectCharts({
        {"int main(int argc, char **argv) {\n  LIBXML_TEST_VERSION\n  doc = xmlReadFile(argv[1], "
         "NULL, 0);\n  INIT\n  *p = 1;\n  CHECK(doc)\n  if (!doc)\n    TRACE\n  else\n    "
         "BEGIN_THREADS\n  END_THREADS\n  FLUSH(out, 2)\n  int n = 0;\n  LOG\n  return n;\n  "
         "DONE\n}\n",
         "7:int main(int argc, char** argv){0:LIBXML_TEST_VERSION; 0:doc = xmlReadFile(argv[1],"
         "NULL,0); 0:INIT; 0:*p = 1; 0:CHECK(doc); 3:!doc{0:TRACE | 0:BEGIN_THREADS}; "
         "0:END_THREADS; 0:FLUSH(out,2); 0:LOG; 0:return n; 0:DONE}"},
        // Followed on its line by a statement that would declare again a
        // name of its block (a parameter counts in the outermost one); a
        // name of an enclosing block, extern names and new names are
        // declared as written.
        {"int main(int argc, char **argv) {\n  xmlDocPtr doc;\n  LIBXML_TEST_VERSION doc = "
         "xmlReadFile(argv[1], NULL, 0);\n  int x, n = 0;\n  CHECK(a) x = 1;\n  TRACE *argv = "
         "0;\n  { T x = 2; }\n  extern int e;\n  extern T e;\n  T y, z = n;\n  return x;\n}\n",
         "7:int main(int argc, char** argv){0:LIBXML_TEST_VERSION; 0:doc = xmlReadFile(argv[1],"
         "NULL,0); 0:CHECK(a); 0:x = 1; 0:TRACE; 0:*argv = 0; 0:return x}"},
        // Names in initialisers and a statement over several lines are left as they are.
        {"void f(void) {\n  int v[] = {\n    ONE,\n    TWO\n  };\n  x\n    = y;\n}\n",
         "7:void f(void){0:x = y}"},
    });
}

TEST(CPreprocessing, LinesStayWhereTheSourceHasThem) {
    // The error line after removed branches, directives, comments and a
    // multi-line macro call; an error inside an expansion is on its use.
    const TCImport after = ImportC("#if 0\nx\n#endif\n/* a\n b */\n#define M(a, \\\n b) a\n"
                                   "int v = M(1,\n 2);\nvoid f(void) {\n  y = ;\n}\n");
    EXPECT_EQ(after.Report.Line, 11) << after.Report.Message.toStdString();
    const TCImport inside = ImportC("#define BAD = = ;\nvoid f(void) {\n\n  BAD\n}\n");
    EXPECT_EQ(inside.Report.Line, 4) << inside.Report.Message.toStdString();
    const TCImport comment = ImportC("#define A 1\nvoid f(void) {\n  /* never closed\n}\n");
    EXPECT_EQ(comment.Report.Line, 5) << comment.Report.Message.toStdString();
}

TEST(CPreprocessing, RefusesUnbalancedConditionalsAndRunawayMacros) {
    ExpectRefused("int a;\n#endif\n", "Line 2: Preprocessor Error: #endif without #if", 2);
    ExpectRefused("#ifdef A\n#else\n#elif 1\n#endif\n",
                  "Line 3: Preprocessor Error: #elif after #else", 3);
    ExpectRefused("#if 1\nint a;\n#if 0\n#endif\nvoid f(void) {}\n",
                  "Line 1: Preprocessor Error: #if without #endif", 1);
    QString doubling = QStringLiteral("#define X0 x\n");
    for (int i = 1; i <= 40; ++i) {
        doubling += QStringLiteral("#define X%1 X%2 X%2\n").arg(i).arg(i - 1);
    }
    doubling += QStringLiteral("int v[] = { X40 };\n");
    const TCImport runaway = ImportC(doubling);
    EXPECT_FALSE(runaway.Ok);
    EXPECT_EQ(runaway.Report.Message,
              "Line 42: Preprocessor Error: the expansion of X40 is too large");
}

TEST(CPreprocessing, RefusesNestingDeeperThanTheLimitAndExpansionsThatOutgrowTheSource) {
    // Each would run the stack out or take gigabytes; 200 levels are read.
    const QString deep = QStringLiteral("Line 1: Preprocessor Error: the condition nests deeper "
                                        "than 256 levels");
    for (const QString& condition :
         {QStringLiteral("1?1:").repeated(100000) + "1", QStringLiteral("!").repeated(100000) + "1",
          QStringLiteral("(").repeated(100000) + "0" + QStringLiteral(")").repeated(100000)}) {
        ExpectRefused("#if " + condition + "\nint a;\n#endif\n", deep.toUtf8().constData(), 1);
    }
    const TCImport read =
        ImportC("#if " + QStringLiteral("(").repeated(200) + "1" +
                QStringLiteral(")").repeated(200) + "\nvoid f(void) {}\n#endif\n");
    EXPECT_EQ(read.Captions(), QStringList{"void f(void)"});
    ExpectRefused("#define F(x) x\nint v = " + QStringLiteral("F(").repeated(300) + "0" +
                      QStringLiteral(")").repeated(300) + ";\n",
                  "Line 2: Preprocessor Error: the expansion of F nests deeper than 256 levels", 2);
    // Stringizing doubles the text at every level.
    ExpectRefused("#define S(a) #a\n#define X(a) S(a)\nvoid f(void) {\n  x = " +
                      QStringLiteral("X(").repeated(28) + "z" + QStringLiteral(")").repeated(28) +
                      ";\n}\n",
                  "Line 4: Preprocessor Error: the expansion of X is too large", 4);
}

TEST(CPreprocessing, RefusesAPasteOrStringThatMakesNoToken) {
    // "//" would hide the rest of the line from the parser.
    ExpectRefused("#define P(a, b) a##b\nvoid f(void) {\n  x = 1; P(/, /) y = 2;\n}\n",
                  "Line 3: Preprocessor Error: pasting \"/\" and \"/\" in P gives no valid token",
                  3);
    ExpectRefused("#define S(a) #a\nvoid f(void) {\n  s = S(\\);\n}\n",
                  "Line 3: Preprocessor Error: '#' in S gives no valid string", 3);
}

} // namespace
} // namespace tvx::test
