// The Pascal corpus: programs and units of every size import, each into the
// charts it should give, with the blocks of a few of them checked in full.
#include "import/pascal_import_support.h"
#include <QDir>
#include <QFile>
#include <gtest/gtest.h>
#include <utility>
#include <vector>

namespace tvx::test {
namespace {

using TNamedText = std::pair<const char*, const char*>;

struct TCorpusFile {
    const char* File;
    std::vector<const char*> Captions;
    std::vector<TNamedText> Outlines;  // chart caption and its whole outline
    std::vector<TNamedText> Fragments; // chart caption and a part of its outline
};

// clang-format off
const std::vector<TCorpusFile> Corpus = {
    {"bubble_sort.pas",
     {"program BubbleSort", "Swap", "Sort"},
     {{"program BubbleSort",
       "7:BubbleSort{8:'How many numbers? '; 9:count; 3:count>MaxItems{0:count:=MaxItems | }; 6:i := 1 to count{9:items[i]}; 2:Sort(items,count); 6:i := 1 to count{8:items[i]:6}; 8:}"},
      {"Sort",
       "7:Sort{6:i := n-1 downto 1{0:swapped:=False; 6:j := 1 to i{3:a[j]>a[j+1]{2:Swap(a[j],a[j+1]); 0:swapped:=True | }}; 3:not swapped{2:Break | }}}"}},
     {}},
    {"calculator.pas",
     {"program Calculator", "ParseOperation", "Apply"},
     {{"Apply",
       "7:Apply{0:ok:=True; 0:Result:=0; 0:Result:=a+b; 0:Result:=a-b; 0:Result:=a*b; 3:b<>0{0:Result:=a/b | 0:ok:=False}; 0:ok:=False}"},
      {"ParseOperation",
       "7:ParseOperation{0:Result:=opAdd; 0:Result:=opSub; 0:Result:=opMul; 0:Result:=opDiv; 0:Result:=opUnknown}"}},
     {}},
    {"callbacks.pas",
     {"program Callbacks", "Square", "Negate", "PrintValue", "MapAndPrint", "TSorter.Compare", "TSorter.Run"},
     {{"program Callbacks",
       "7:Callbacks{0:f:=@Square; 2:MapAndPrint(f,@PrintValue,3); 2:MapAndPrint(@Negate,@PrintValue,2); 3:Assigned(f){8:f(7) | }; 0:sorter:=TSorter.Create; 0:sorter.Descending:=True; 2:sorter.Run(@sorter.Compare); 2:sorter.Free}"},
      {"TSorter.Compare",
       "7:TSorter.Compare{3:a<b{0:Result:=-1 | 3:a>b{0:Result:=1 | 0:Result:=0}}; 3:Descending{0:Result:=-Result | }}"}},
     {}},
    {"clib.pas",
     {"Unit CLib", "CompareInts", "SortInts", "Report", "Log"},
     {{"Unit CLib",
       "7:CLib{}"},
      {"CompareInts",
       "7:CompareInts{3:PInteger(a)^<PInteger(b)^{0:Result:=-1 | 3:PInteger(a)^>PInteger(b)^{0:Result:=1 | 0:Result:=0}}}"}},
     {}},
    {"digit_sum.pas",
     {"program DigitSum"},
     {{"program DigitSum",
       "7:DigitSum{8:'Enter a number: '; 9:n; 3:n<0{0:n:=-n | }; 0:sum:=0; 4:n>0{0:digit:=n mod 10; 0:sum:=sum+digit; 0:n:=n div 10}; 8:'Sum of digits = ',sum}"}},
     {}},
    {"enums_sets.pas",
     {"program EnumsAndSets"},
     {},
     {{"program EnumsAndSets",
       "6:d := Low(TDay) to High(TDay){3:not(d in Weekend){2:Include(days,d) | }}"},
      {"program EnumsAndSets",
       "3:c in Vowels{2:Inc(count); 0:letters:=letters+[c] | 3:c in['a'..'z']{2:Exclude(days,Sun) | }}"}}},
    {"exceptions.pas",
     {"program Exceptions", "EValidationError.Create", "CheckAge", "SafeDivide", "Process"},
     {{"Process",
       "7:Process{2:list.BeginUpdate; 6:i := 0 to list.Count-1{2:CheckAge(StrToInt(list[i])); 3:E.Field='age'{8:'bad age in line ',i | 8:E.Message}; 8:E.ClassName,': ',E.Message}; 2:list.EndUpdate}"},
      {"program Exceptions",
       "7:Exceptions{0:items:=TStringList.Create; 2:items.Add('12'); 2:items.Add('-3'); 2:items.Add('abc'); 2:Process(items); 8:SafeDivide(10,0); 2:items.Free; 2:CheckAge(200); 8:'caught'}"}},
     {}},
    {"fastmath.pas",
     {"Unit FastMath", "Popcount"},
     {{"Unit FastMath",
       "7:FastMath{}"},
      {"Popcount",
       "7:Popcount{0:count:=0; 4:x<>0{0:x:=x and(x-1); 2:Inc(count)}; 0:Popcount:=count}"}},
     {}},
    {"file_copy.pas",
     {"program FileCopy"},
     {},
     {{"program FileCopy",
       "5:(readCount=0)or(written<>readCount){2:BlockRead(src,buffer,SizeOf(buffer),readCount); 2:BlockWrite(dst,buffer,readCount,written); 0:total:=total+written}"},
      {"program FileCopy",
       "4:not Eof(text){9:text,line; 8:line}"}}},
    {"generics.pas",
     {"program Generics", "TStack.Push", "TStack.Pop", "TStack.IsEmpty"},
     {{"TStack.Push",
       "7:TStack.Push{3:FCount=Length(FItems){2:SetLength(FItems,2*FCount+4) | }; 0:FItems[FCount]:=AItem; 2:Inc(FCount)}"},
      {"TStack.Pop",
       "7:TStack.Pop{3:FCount=0{ | }; 2:Dec(FCount); 0:Result:=FItems[FCount]}"}},
     {}},
    {"goto_labels.pas",
     {"program GotoLabels"},
     {{"program GotoLabels",
       "7:GotoLabels{0:i:=0; 2:Inc(i); 3:i<5{ | }; 6:i := 1 to 3{6:j := 1 to 3{3:i*j=4{ | }}}; 8:'not reached'; 8:'i = ',i,', j = ',j}"}},
     {}},
    {"grades.pp",
     {"program Grades"},
     {},
     {{"program Grades",
       "3:marks[i]>=average{8:names[i]:20,' above average' | 8:names[i]:20,' below average'}"}}},
    {"hello.pas",
     {"program Hello"},
     {},
     {}},
    {"interfaces.pas",
     {"Unit Interfaces", "TConsoleLogger.Create", "TConsoleLogger.Destroy", "TConsoleLogger.Log", "TConsoleLogger.GetLevel", "TConsoleLogger.Format", "TConsoleLogger.Instances", "TStringHelper.Shout", "TLoggerHelper.LogTwice", "TRegistry.Create", "TRegistry.Destroy", "TRegistry.Add"},
     {{"Unit Interfaces",
       "7:Interfaces{}"},
      {"TConsoleLogger.Log",
       "7:TConsoleLogger.Log{2:FHistory.Add(Msg); 3:FLevel>0{8:Format(Msg) | }}"}},
     {}},
    {"inventory.pas",
     {"Unit Inventory", "FormatMoney", "KindName", "PadRight", "Line", "EOutOfStock.Create", "TInventory.Create", "TInventory.Destroy", "TInventory.GetArticle", "TInventory.FindFreeId", "TInventory.AddMovement", "TInventory.DoStockChange", "TInventory.AddArticle", "TInventory.FindByCode", "TInventory.Receive", "TInventory.Issue", "TInventory.Adjust", "TInventory.Discontinue", "TInventory.StockValue", "TInventory.NeedsReorder", "TInventory.ReorderList", "TInventory.MovementsOf", "TInventory.WriteReport", "TInventory.SaveToFile", "TInventory.LoadFromFile"},
     {{"Unit Inventory",
       "7:Inventory{}"},
      {"TInventory.Issue",
       "7:TInventory.Issue{0:old:=FArticles[Id].OnHand; 3:Quantity>old{ | }; 2:Dec(FArticles[Id].OnHand,Quantity); 0:m.ArticleId:=Id; 0:m.Kind:=mkIssue; 0:m.Quantity:=Quantity; 0:m.Date:=Now; 0:m.Note:=Note; 2:AddMovement(m); 2:DoStockChange(FArticles[Id],old)}"}},
     {{"TInventory.LoadFromFile",
       "6:i := 1 to n{9:f,row; 0:fields.Delimiter:=';'"},
      {"TInventory.WriteReport",
       "3:Discontinued{0:flag:=' (discontinued)' | 3:NeedsReorder(i){0:flag:=' (reorder)' | 0:flag:=''}}"}}},
    {"life.lpr",
     {"program Life", "Clear", "Neighbours", "Alive", "Step", "Show"},
     {{"program Life",
       "7:Life{2:Clear(grid); 6:i := Low(Glider) to High(Glider){0:grid[Glider[i,1],Glider[i,0]]:=True}; 6:generation := 1 to 4{2:Show; 2:Step}}"},
      {"Step",
       "7:Step{6:r := 0 to Height-1{6:c := 0 to Width-1{0:n:=Neighbours(grid,r,c); 0:next[r,c]:=(n=3)or(grid[r,c]and(n=2))}}; 0:grid:=next}"}},
     {}},
    {"linked_list.pas",
     {"program LinkedList", "Push", "Length", "Reverse", "Print", "Free"},
     {{"program LinkedList",
       "7:LinkedList{0:head:=nil; 6:i := 1 to 10{2:Push(head,i*i)}; 2:Print(head); 2:Reverse(head); 2:Print(head); 8:'length: ',Length(head); 0:p:=@i; 0:p^:=42; 8:i; 2:Free(head)}"},
      {"Reverse",
       "7:Reverse{0:prev:=nil; 0:cur:=list; 4:Assigned(cur){0:next:=cur^.Next; 0:cur^.Next:=prev; 0:prev:=cur; 0:cur:=next}; 0:list:=prev}"}},
     {}},
    {"main_form.pas",
     {"Unit MainForm", "TfrmMain.FormCreate", "TfrmMain.FormDestroy", "TfrmMain.FillList", "TfrmMain.btnSearchClick", "TfrmMain.edtSearchKeyPress", "TfrmMain.tmrClockTimer", "TfrmMain.WMRefreshList"},
     {{"Unit MainForm",
       "7:MainForm{}"},
      {"TfrmMain.FormCreate",
       "7:TfrmMain.FormCreate{0:FItems:=TStringList.Create; 0:FItems.Sorted:=True; 6:i := 1 to 50{2:FItems.Add(Format('Item %.3d',[i]))}; 2:FillList(''); 0:tmrClock.Interval:=1000}"}},
     {}},
    {"mathlib.dpr",
     {"program MathLib", "Add", "Factorial", "Clamp"},
     {{"Clamp",
       "7:Clamp{3:value<low{0:value:=low | 3:value>high{0:value:=high | }}}"},
      {"Factorial",
       "7:Factorial{0:Result:=1; 6:i := 2 to n{0:Result:=Result*i}}"}},
     {}},
    {"records.pas",
     {"program Records", "Area"},
     {{"Area",
       "7:Area{0:Area:=Pi*Sqr(Radius); 0:Area:=Width*Height; 0:p:=(A+B+C)/2; 0:Area:=Sqrt(p*(p-A)*(p-B)*(p-C))}"}},
     {}},
    {"shapes.pas",
     {"Unit Shapes", "CreateShape", "TShape.Create", "TShape.Destroy", "TShape.SetName", "TShape.Changed", "TShape.Describe", "TCircle.SetRadius", "TCircle.GetArea", "TRectangle.Create", "TRectangle.Resize", "TRectangle.GetArea", "TShapeList.Create", "TShapeList.Destroy", "TShapeList.GetCount", "TShapeList.GetItem", "TShapeList.Add", "TShapeList.TotalArea", "Unit Shapes finalization"},
     {{"Unit Shapes",
       "7:Shapes{0:DefaultList:=TShapeList.Create; 2:RegisterClasses([TCircle,TRectangle])}"},
      {"TShapeList.Destroy",
       "7:TShapeList.Destroy{6:i := FItems.Count-1 downto 0{2:TShape(FItems[i]).Free}; 2:FItems.Free; 2:inherited}"}},
     {}},
    {"sieve.pas",
     {"program Sieve"},
     {},
     {}},
    {"string_utils.pas",
     {"Unit StringUtils", "Trimmed", "SplitString", "JoinStrings", "JoinStrings", "ReverseString", "CountChar", "IsNumber", "Repeated"},
     {{"Unit StringUtils",
       "7:StringUtils{}"},
      {"SplitString",
       "7:SplitString{2:SetLength(Result,0); 0:n:=0; 0:start:=1; 6:i := 1 to Length(s)+1{3:(i>Length(s))or(s[i]=separator){2:SetLength(Result,n+1); 0:Result[n]:=Copy(s,start,i-start); 2:Inc(n); 0:start:=i+1 | }}}"}},
     {}},
    {"turbo_objects.pas",
     {"program TurboObjects", "TFigure.Init", "TFigure.Done", "TFigure.Show", "TFigure.MoveTo", "TCircle.Init", "TCircle.Show"},
     {{"program TurboObjects",
       "7:TurboObjects{0:f:=New(PCircle,Init(10,20,5)); 2:f^.Show; 2:f^.MoveTo(1,1); 2:Dispose(f,Done)}"},
      {"TCircle.Init",
       "7:TCircle.Init{2:inherited Init(AX,AY); 0:Radius:=ARadius}"}},
     {}},
    {"utf8_texts.pas",
     {"program Приветствие"},
     {{"program Приветствие",
       "7:Приветствие{8:'Как вас зовут? '; 9:name; 8:'Здравствуйте, ',name,'! Grüße aus Köln — ','😀'; 3:name='Иван'{8:'Привет, Ваня!' | }}"}},
     {}},
    {"vectors.pas",
     {"program Vectors", "+", "*", "=", "TVector.Length", "TVector.Make", "TComplex.+", "TComplex.*"},
     {{"program Vectors",
       "7:Vectors{0:a:=TVector.Make(1,2); 0:b:=TVector.Make(3,-4.5); 0:c:=(a+b)*2; 8:c.X:0:2,' ',c.Y:0:2,' ',c.Length:0:3; 3:a=b{8:'equal' | 8:'different'}; 0:c.X+=1; 0:c.Y-=1; 8:2**10}"},
      {"TComplex.*",
       "7:TComplex.*{0:Result.Re:=a.Re*b.Re-a.Im*b.Im; 0:Result.Im:=a.Re*b.Im+a.Im*b.Re}"}},
     {}},
    {"word_count.pas",
     {"program WordCount", "SplitWords", "CountWords", "PrintTop"},
     {{"CountWords",
       "7:CountWords{0:reader:=TStreamReader.Create(FileName,TEncoding.UTF8); 4:not reader.EndOfStream{3:Counts.TryGetValue(w,n){0:Counts[w]:=n+1 | 2:Counts.Add(w,1)}}; 2:reader.Free}"}},
     {{"program WordCount",
       "0:var counts:=TDictionary<string, Integer>.Create; 2:CountWords(ParamStr(1),counts)"},
      {"PrintTop",
       "6:var i := 0 to Min(Limit,list.Count)-1{8:Format('%-20s %6d',[list[i].Key,list[i].Value])}"},
      {"PrintTop",
       "0:var list:=TList<TWordCount>.Create(TComparer<TWordCount>.Construct(function(const A,B:TWordCount):Integer begin Result:=B.Value-A.Value;end))"}}},
};
// clang-format on

QString CorpusDir() {
    return QStringLiteral(TVX_IMPORT_CORPUS_DIR "pascal/");
}

class PascalCorpus : public ::testing::TestWithParam<TCorpusFile> {};

TEST_P(PascalCorpus, ImportsIntoItsCharts) {
    const TCorpusFile& expected = GetParam();
    QFile file(CorpusDir() + expected.File);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << expected.File;
    const TPascalImport result = ImportPascal(QString::fromUtf8(file.readAll()));
    ASSERT_TRUE(result.Ok) << result.Report.Message.toStdString();
    QStringList captions;
    for (const char* caption : expected.Captions) {
        captions << QString::fromUtf8(caption);
    }
    EXPECT_EQ(result.Captions(), captions);
    EXPECT_EQ(result.Tally.Fault(), "");
    for (const auto& chart : result.Charts) {
        EXPECT_EQ(ChartFault(*chart), "") << chart->Caption.toStdString();
    }
    for (const auto& [caption, outline] : expected.Outlines) {
        EXPECT_EQ(result.Outline(QString::fromUtf8(caption)), QString::fromUtf8(outline));
    }
    for (const auto& [caption, fragment] : expected.Fragments) {
        const QString outline = result.Outline(QString::fromUtf8(caption));
        EXPECT_TRUE(outline.contains(QString::fromUtf8(fragment)))
            << caption << ": " << outline.toStdString();
    }
}

INSTANTIATE_TEST_SUITE_P(Files, PascalCorpus, ::testing::ValuesIn(Corpus),
                         [](const ::testing::TestParamInfo<TCorpusFile>& info) {
                             std::string name = info.param.File;
                             for (char& c : name) {
                                 c = std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
                             }
                             return name;
                         });

TEST(PascalCorpusFiles, EveryFileOfTheFolderIsListed) {
    QStringList listed;
    for (const TCorpusFile& file : Corpus) {
        listed << QString::fromUtf8(file.File);
    }
    QStringList present = QDir(CorpusDir()).entryList(QDir::Files, QDir::Name);
    listed.sort();
    EXPECT_EQ(present, listed);
}

} // namespace
} // namespace tvx::test
