// Pascal sources become charts: one per program, unit and routine, with the
// blocks of their statements in the right chains and branches.
#include "chart/nesting_limit.h"
#include "import/pascal_import_support.h"
#include <gtest/gtest.h>

namespace tvx::test {
namespace {

TEST(PascalConversion, ProgramComesFirstThenItsRoutinesInSourceOrder) {
    const TPascalImport result = ImportPascal(R"(program Demo;
procedure First; begin end;
function Second(x: Integer): Integer; begin Second := x end;
procedure Third(var a, b: Real); begin a := b end;
begin
  First
end.
)");
    ASSERT_TRUE(result.Ok) << result.Report.Message.toStdString();
    EXPECT_EQ(result.Captions(), QStringList({"program Demo", "First", "Second", "Third"}));
    EXPECT_EQ(result.Outline("program Demo"), "7:Demo{2:First}");
    EXPECT_EQ(result.Outline("First"), "7:First{}");
    EXPECT_EQ(result.Outline("Third"), "7:Third{0:a:=b}");
    for (const auto& chart : result.Charts) {
        EXPECT_EQ(ChartFault(*chart), "") << chart->Caption.toStdString();
    }
}

TEST(PascalConversion, StatementsKeepTheirTextWithoutBlanks) {
    const TPascalImport result = ImportPascal(R"(program P;
begin
  total := total + price * (1 + rate / 100);
  Inc(count, 2);
  Done;
  list.Items[i].Free;
  ok := not done and (a div b > $FF);
  inherited Create(s + #13);
)"
                                              "  s := 'a\x01"
                                              "b'\nend.\n");
    ASSERT_TRUE(result.Ok);
    // Blanks stay only where two words would otherwise run together; a
    // control character a chart file cannot hold shows as its picture.
    EXPECT_EQ(result.Outline("program P"),
              "7:P{0:total:=total+price*(1+rate/100); 2:Inc(count,2); 2:Done; "
              "2:list.Items[i].Free; 0:ok:=not done and(a div b>$FF); "
              "2:inherited Create(s+#13); 0:s:='a\u2401b'}");
}

TEST(PascalConversion, WriteCallsAreOutputAndReadCallsInputBlocksOfTheirArguments) {
    const TPascalImport result = ImportPascal(R"(program IO;
begin
  writeln;
  WriteLn('Sum=', s);
  write('x = ', x:8:2);
  READLN(a, b);
  Read(c);
  ReadLn;
  Report(a, b)
end.
)");
    ASSERT_TRUE(result.Ok);
    EXPECT_EQ(result.Outline("program IO"),
              "7:IO{8:; 8:'Sum=',s; 8:'x = ',x:8:2; 9:a,b; 9:c; 9:; 2:Report(a,b)}");
}

TEST(PascalConversion, ForLoopsKeepTheirDirectionBetweenTheBounds) {
    const TPascalImport result = ImportPascal(R"(program Loops;
begin
  for i := 10 DownTo 1 do s := s + i;
  for j := Low(a) to High(a) - 1 do
    a[j] := 0
end.
)");
    ASSERT_TRUE(result.Ok);
    EXPECT_EQ(result.Outline("program Loops"),
              "7:Loops{6:i := 10 DownTo 1{0:s:=s+i}; 6:j := Low(a) to High(a)-1{0:a[j]:=0}}");
}

TEST(PascalConversion, StructuredStatementsNestTheirBranches) {
    const TPascalImport result = ImportPascal(R"(program Nest;
begin
  if a > b then
    max := a
  else
  begin
    max := b;
    swapped := True
  end;
  while n > 0 do
  begin
    repeat
      n := n - 1
    until odd(n);
    if n = 5 then Break
  end;
  done := True
end.
)");
    ASSERT_TRUE(result.Ok);
    EXPECT_EQ(result.Outline("program Nest"),
              "7:Nest{3:a>b{0:max:=a | 0:max:=b; 0:swapped:=True}; "
              "4:n>0{5:odd(n){0:n:=n-1}; 3:n=5{2:Break | }}; 0:done:=True}");
}

TEST(PascalConversion, ElseBelongsToTheNearestIf) {
    const TPascalImport result = ImportPascal(R"(program Dangling;
begin
  if a then if b then x := 1 else x := 2;
  if c then
    if d then y := 1 else y := 2
  else
    y := 3
end.
)");
    ASSERT_TRUE(result.Ok);
    EXPECT_EQ(result.Outline("program Dangling"),
              "7:Dangling{3:a{3:b{0:x:=1 | 0:x:=2} | }; 3:c{3:d{0:y:=1 | 0:y:=2} | 0:y:=3}}");
}

TEST(PascalConversion, CaseWithAndTryAreFlattenedIntoTheirStatements) {
    const TPascalImport result = ImportPascal(R"(program Flat;
begin
  case k of
    1: a := 1;
    2, 3: if b then a := 2 else a := 3
  else
    a := 0;
    Beep
  end;
  with r do x := 1;
  try
    Risky
  except
    on E: Exception do Log(E.Message)
  end
end.
)");
    ASSERT_TRUE(result.Ok);
    EXPECT_EQ(result.Outline("program Flat"),
              "7:Flat{0:a:=1; 3:b{0:a:=2 | 0:a:=3}; 0:a:=0; 2:Beep; 0:x:=1; 2:Risky; "
              "2:Log(E.Message)}");
}

TEST(PascalConversion, NestedRoutinesGetChartsOfTheirOwn) {
    const TPascalImport result = ImportPascal(R"(program Outer;
procedure Host;
  function Helper: Integer;
    procedure Deeper; begin hidden := 1 end;
  begin
    Helper := 2
  end;
begin
  visible := Helper
end;
begin
  Host
end.
)");
    ASSERT_TRUE(result.Ok);
    EXPECT_EQ(result.Captions(), QStringList({"program Outer", "Host", "Helper", "Deeper"}));
    EXPECT_EQ(result.Outline("Host"), "7:Host{0:visible:=Helper}");
    EXPECT_EQ(result.Outline("Deeper"), "7:Deeper{0:hidden:=1}");
    EXPECT_EQ(result.Tally.Fault(), "");
}

TEST(PascalConversion, EmptyBodiesLeaveTheLoopEmptyAndTheNextStatementAfterIt) {
    // A loop whose body makes no block keeps an empty branch; the statement
    // after it follows the loop instead of slipping into its body.
    const TPascalImport result = ImportPascal(R"(program Empty;
begin
  while Busy do ;
  a := 1;
  for i := 1 to 3 do begin end;
  b := 2;
  if c then else d := 1;
  e := 3
end.
)");
    ASSERT_TRUE(result.Ok);
    EXPECT_EQ(result.Outline("program Empty"),
              "7:Empty{4:Busy{}; 0:a:=1; 6:i := 1 to 3{}; 0:b:=2; 3:c{ | 0:d:=1}; 0:e:=3}");
}

TEST(PascalConversion, UnitChartHoldsItsInitializationThenComeRoutinesAndFinalization) {
    const TPascalImport withInit = ImportPascal(R"(unit Counter;
interface
procedure Bump;
function Current: Integer;
implementation
var n: Integer;
procedure Bump; begin Inc(n) end;
function Current: Integer; begin Current := n end;
initialization
  n := 0;
finalization
  n := -1;
end.
)");
    ASSERT_TRUE(withInit.Ok) << withInit.Report.Message.toStdString();
    EXPECT_EQ(withInit.Captions(),
              QStringList({"Unit Counter", "Bump", "Current", "Unit Counter finalization"}));
    EXPECT_EQ(withInit.Outline("Unit Counter"), "7:Counter{0:n:=0}");
    EXPECT_EQ(withInit.Outline("Unit Counter finalization"), "7:finalization{0:n:=-1}");

    const TPascalImport withoutInit = ImportPascal(R"(unit Plain;
interface
procedure Go;
implementation
procedure Go; begin end;
end.
)");
    ASSERT_TRUE(withoutInit.Ok);
    EXPECT_EQ(withoutInit.Captions(), QStringList({"Unit Plain", "Go"}));
    EXPECT_EQ(withoutInit.Outline("Unit Plain"), "7:Plain{}");
}

TEST(PascalConversion, DeclarationsWithoutBodiesMakeNoChart) {
    const TPascalImport result = ImportPascal(R"(program Decls;
procedure Later(x: Integer); forward;
function Ext(p: PChar): Integer; cdecl; external 'c' name 'strlen';
procedure Later(x: Integer); begin Work(x) end;
type
  TThing = class
    procedure Method; virtual; abstract;
  end;
procedure TThing.Method; begin end;
begin
end.
)");
    ASSERT_TRUE(result.Ok) << result.Report.Message.toStdString();
    EXPECT_EQ(result.Captions(), QStringList({"program Decls", "Later", "TThing.Method"}));
}

TEST(PascalConversion, KeywordsMatchInAnyCase) {
    const TPascalImport result = ImportPascal("PROGRAM Shout; BEGIN IF X THEN Y := 1 ELSE "
                                              "WHILE z DO z := z - 1 END.");
    ASSERT_TRUE(result.Ok);
    EXPECT_EQ(result.Outline("program Shout"), "7:Shout{3:X{0:Y:=1 | 4:z{0:z:=z-1}}}");
}

TEST(PascalConversion, ManyStatementsAndDeepNestingImportWithoutExhaustingTheStack) {
    QString text = QStringLiteral("program Long;\nbegin\n");
    for (int i = 0; i < 20000; ++i) {
        text += QStringLiteral("  s := s + %1;\n").arg(i);
    }
    auto nested = [&text](int depth) {
        return text + QStringLiteral("if a then begin\n").repeated(depth) +
               QStringLiteral("x := 1\n") + QStringLiteral("end;\n").repeated(depth) +
               QStringLiteral("end.\n");
    };
    // Far deeper than a chart may nest: refused, and the deep tree costs no stack.
    EXPECT_THROW(ImportPascal(nested(2000)), ENestingLimit);
    const int depth = kMaxNestingLevel - 1; // x := 1 lands on the deepest level
    const TPascalImport result = ImportPascal(nested(depth));
    ASSERT_TRUE(result.Ok);
    ASSERT_EQ(result.Charts.size(), 1u);
    const TFCList& chart = *result.Charts[0];
    EXPECT_EQ(chart.Count(), 1 + 20000 + depth + 1);
    EXPECT_EQ(chart.MaxLevel(), kMaxNestingLevel);
    EXPECT_EQ(ChartFault(chart), "");
}

} // namespace
} // namespace tvx::test
