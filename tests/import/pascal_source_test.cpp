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
    EXPECT_EQ(quoted.Outline("program P"), "7:P{0:x:=0; 8:'a',x}");
    EXPECT_EQ(quoted.Tally.Fault(), "");

    const TPascalImport mixed = ImportBody(
        "{ don't panic } writeln('hi'); (* don't *) s := 'b';\r\n(** title **) { see (* below }\r\n"
        "a := 1 (* { *) ; // (* not a comment start\r\nb := 2 { old { note }");
    ASSERT_TRUE(mixed.Ok) << mixed.Report.Message.toStdString();
    EXPECT_EQ(mixed.Outline("program P"), "7:P{8:'hi'; 0:s:='b'; 0:a:=1; 0:b:=2}");

    // Free Pascal's own modes nest comments of one kind.
    const TPascalImport nested =
        ImportPascal("{$mode objfpc}begin { a := GetValue('x'{%H-}, 0); } b := 1 end.");
    ASSERT_TRUE(nested.Ok) << nested.Report.Message.toStdString();
    EXPECT_EQ(nested.Outline("program "), "7:{0:b:=1}");
}

TEST(PascalSource, ConditionalCompilationReadsOneBranchOfEach) {
    const TPascalImport result = ImportPascal(R"(program P;
{$DEFINE MINE}
uses SysUtils {$IFDEF MINE}, Mine{$ELSE}, Theirs{$ENDIF};
{$IFNDEF FPC}
procedure Old(a: Integer);
{$ELSE}
procedure Old(a, b: Integer);
{$ENDIF}
begin a := 1 end;
begin
  {$IF FPC_FULLVERSION >= 30000} x := 1; {$ELSEIF defined(UNIX)} x := 2; {$ELSE} x := 3; {$ENDIF}
  {$IF defined(WINDOWS) or not defined(CPU64)} x := 4; {$ELSEIF defined(LINUX) and (1 + 1 = 2)} x := 5; {$IFEND}
  {$UNDEF MINE}{$IFDEF MINE} y := 1; {$ENDIF}
  (*$IFDEF LINUX*) z := 1; (*$ENDIF*)
  {$IF SomethingWeCannotTell(2)} u := 1 {$ELSE} u := 2 {$IFEND};
  {$IFOPT R+} v := 1 {$ELSE} v := 2 {$ENDIF};
  {$IFDEF WINDOWS} {$IFDEF MINE} a := {$ELSE} b := {$ENDIF} q := {$ENDIF}
  // {$IFDEF WINDOWS} a comment holds no directive
  w := 1
end.
)");
    ASSERT_TRUE(result.Ok) << result.Report.Message.toStdString();
    EXPECT_EQ(result.Outline("Old"), "7:Old{0:a:=1}");
    EXPECT_EQ(result.Outline("program P"), "7:P{0:x:=1; 0:x:=5; 0:z:=1; 0:u:=1; 0:v:=1; 0:w:=1}");
    EXPECT_EQ(result.Tally.Fault(), "");
}

TEST(PascalSource, SymbolsAreThoseFreePascalDefinesForItsModeOn64BitLinux) {
    const TPascalImport result = ImportPascal(R"({$MODE OBJFPC}
program P;
begin
  {$IFDEF FPC_LITTLE_ENDIAN} a := 1; {$ELSE} a := 2; {$ENDIF}
  {$IF defined(ENDIAN_LITTLE) and defined(VER3_2_2) and defined(CPUAMD64) and defined(HASUNIX)}
  b := 1;
  {$ENDIF}
  {$IF (FPC_VERSION = 3) and (FPC_RELEASE = 2) and (FPC_PATCH = 2)} c := 1; {$ENDIF}
  {$IFDEF FPC_OBJFPC} d := 1; {$ENDIF}
  {$IFDEF FPC_DELPHI} e := 1; {$ENDIF}
  {$IFDEF WINDOWS} f := 1; {$ENDIF}
end.
)");
    ASSERT_TRUE(result.Ok) << result.Report.Message.toStdString();
    EXPECT_EQ(result.Outline("program P"), "7:P{0:a:=1; 0:b:=1; 0:c:=1; 0:d:=1}");

    const TPascalImport delphi =
        ImportPascal("{$MODE DELPHIUNICODE}\nbegin {$IF defined(FPC_DELPHI) and defined(UNICODE) "
                     "and not defined(FPC_OBJFPC)} x := 1 {$ENDIF} end.");
    ASSERT_TRUE(delphi.Ok) << delphi.Report.Message.toStdString();
    EXPECT_EQ(delphi.Outline("program "), "7:{0:x:=1}");
}

TEST(PascalSource, ConditionalsLeftOpenOrNestedTooDeepAreRefusedAtTheirLine) {
    for (const char* directive : {"IFDEF X", "IFNDEF FPC", "IF 1 = 2", "IFOPT R+"}) {
        const TPascalImport open = ImportPascal(
            QStringLiteral(
                "program P;\nbegin\n  {$%1} x := 1;\n  {$IFDEF FPC} y := 2; {$ENDIF}\nend.\n")
                .arg(directive));
        EXPECT_FALSE(open.Ok);
        EXPECT_EQ(open.Report.Line, 3);
        EXPECT_EQ(open.Report.Message,
                  QStringLiteral("Line 3: Preprocessor Error: {$%1} without {$ENDIF}")
                      .arg(QString(directive).section(' ', 0, 0)));
    }
    // Parentheses and "not" nest calls: far past the limit, the source is
    // refused instead of running the stack out; near it, read as usual.
    for (const QString& deep : {QString(100000, '(') + '1' + QString(100000, ')'),
                                QString("not ").repeated(100000) + '1'}) {
        const TPascalImport refused =
            ImportPascal("program P;\nbegin\n{$IF " + deep + "} x := 1 {$ENDIF}\nend.");
        EXPECT_FALSE(refused.Ok);
        EXPECT_EQ(refused.Report.Line, 3);
        EXPECT_EQ(refused.Report.Message,
                  "Line 3: Preprocessor Error: the condition nests deeper than 256 levels");
    }
    const TPascalImport nested = ImportPascal("begin {$IF " + QString(200, '(') + "1" +
                                              QString(200, ')') + "} x := 1 {$ENDIF} end.");
    ASSERT_TRUE(nested.Ok) << nested.Report.Message.toStdString();
    EXPECT_EQ(nested.Outline("program "), "7:{0:x:=1}");
}

TEST(PascalSource, SkippedTextKeepsEveryLineAndIncludeFilesAreNamedOnFailure) {
    const TPascalImport failed =
        ImportPascal("program P;\n{$I defs.inc}{$I+}\n{$IFDEF WINDOWS}\n"
                     "uses\n  Windows;\n{$ENDIF}\nbegin\n  x := ;\nend.\n");
    EXPECT_FALSE(failed.Ok);
    EXPECT_EQ(failed.Report.Line, 8);
    EXPECT_TRUE(failed.Report.Message.startsWith("Line 8: Syntax Error"));
    EXPECT_TRUE(failed.Report.Message.endsWith(" (include files not read: defs.inc)"))
        << failed.Report.Message.toStdString();

    // {$I %DATE%} stands for a text.
    const TPascalImport date = ImportPascal("{$I defs.inc}\nbegin s := {$I %DATE%} end.");
    ASSERT_TRUE(date.Ok) << date.Report.Message.toStdString();
    EXPECT_EQ(date.Outline("program "), "7:{0:s:='%DATE%'}");
}

TEST(PascalSource, ReadsTheConstructsOfOldAndNewDialects) {
    const TPascalImport result = ImportPascal(R"(program A;
const CrLf = ^M^J; Msg = 'done'^M^J'next'#13^J;
type
  PInt = ^Integer;
  IFoo = interface ['{12345678-1234-1234-1234-123456789012}'] procedure Go; end;
  IBar = interface(IFoo) [IID_Bar] procedure Stop; end;
  TModeHelper = type helper for TMode function Next: TMode; end;
  TWidgetClass = record draw: procedure(w: Pointer); cdecl; size: Integer; end;
var
  counter: Integer; cvar; export name 'counter';
procedure generic;
begin
  mem[$A000:0] := 1;
  case c of ^H, ^M: c := ^C end;
  Result := inherited;
  inherited Items[i] := a << 2 >> 1
end;
begin
  generic
end.
)");
    ASSERT_TRUE(result.Ok) << result.Report.Message.toStdString();
    EXPECT_EQ(result.Outline("generic"),
              "7:generic{0:mem[$A000:0]:=1; 0:c:=^C; 0:Result:=inherited; 0:inherited "
              "Items[i]:=a<<2>>1}");
    EXPECT_EQ(result.Outline("program A"), "7:A{2:generic}");
}

TEST(PascalSource, ReadsWhatLazarusSourcesWrite) {
    const TPascalImport result = ImportPascal(R"(unit U;
interface
type
  TBox = class
    FItems: array[0..3] of TObject;
    procedure Draw; virtual abstract;
    property First: TObject read FItems[0];
  end;
  TRec = record generic: Integer; end;
property Logger: TBox read GetLogger;
implementation
function Read: Integer;
begin
  read := 0;
  RegisterPropertyEditor(TypeInfo(string), TBox, 'Name', nil);
  s := String(p^)[1] + Copy(a[1..n]);
  for Pointer(f) in list do x := Read
end;
end.
)");
    ASSERT_TRUE(result.Ok) << result.Report.Message.toStdString();
    EXPECT_EQ(result.Outline("Read"),
              "7:Read{0:read:=0; 2:RegisterPropertyEditor(TypeInfo(string),TBox,'Name',nil); "
              "0:s:=String(p^)[1]+Copy(a[1..n]); 0:x:=Read}");
    EXPECT_EQ(result.Tally.Fault(), "");
}

} // namespace
} // namespace tvx::test
