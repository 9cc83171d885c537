// Real Pascal sources as people write them: comments that hold quotes and
// other comment delimiters, conditional compilation, and the constructs of
// old and new dialects. Every statement reaches its chart.
#include "import/pascal_import_support.h"
#include <gtest/gtest.h>

namespace tvx::test {
namespace {

TPascalImport ImportBody(const QString& Statements) {
    return ImportPascal(QStringLiteral("program P;\r\nbegin\r\n") + Statements +
                        QStringLiteral("\r\nend.\r\n"));
}

TEST(PascalSource, CommentsEndOnlyAtTheirOwnDelimiter) {
    const TPascalImport quoted =
        ImportBody("x := 0; { user's choice } writeln('a', x); { it's over }");
    ASSERT_TRUE(quoted.Ok) << quoted.Report.Message.toStdString();
    EXPECT_EQ(quoted.Outline("program P"), "7:P{0:x:=0; 9:('a',x)}");
    EXPECT_EQ(quoted.Tally.Fault(), "");

    const TPascalImport mixed = ImportBody(
        "{ don't panic } writeln('hi'); (* don't *) s := 'b';\r\n(** title **) { see (* below }\r\n"
        "a := 1 (* { *) ; // (* not a comment start\r\nb := 2");
    ASSERT_TRUE(mixed.Ok) << mixed.Report.Message.toStdString();
    EXPECT_EQ(mixed.Outline("program P"), "7:P{9:('hi'); 0:s:='b'; 0:a:=1; 0:b:=2}");
}

} // namespace
} // namespace tvx::test
