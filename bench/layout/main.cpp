// Times the repaint of charts of about 100, 1,000 and 3,000 blocks that mix
// every drawn kind, nested up to 8 levels. A chart window repaints with every
// layout pass and then composes the part of the chart picture it shows (one
// screen, 1280 x 1024, at the top here); the median of several runs is
// printed for a repaint of the unchanged chart, for one after a change of one
// block's text, and for the first repaint of charts built alike whose texts
// were never rendered before. The last column is the first repaint with the
// whole chart picture composed (what pages and pictures on disk need).
//
//   layout_bench                 time the three charts
//   layout_bench --png DIR       also write each composed chart picture to DIR,
//                                and the chart as an .fml file to open in the editor
//   layout_bench --gallery DIR   write one small chart per block kind (and per
//                                if and for variant) to DIR and stop
//   --font-size PT, --ifangle DEG  draw with that block font size or condition
//                                angle instead of the defaults
//   layout_bench --nested N      time one nested chart of depth N only (its row)
//   ... --kind if|while          with only if-else (or while) blocks nesting
//   layout_bench --blocks N      time the chart of about N blocks only
//   layout_bench --long-texts FILE  repaint a chart of five very long one-line
//                                texts (up to a million characters), print its
//                                peak memory and save it to FILE
//
// Besides each picture, --png and --gallery write the layout values of every
// block (positions, extents, rectangles) to a .txt file of the same name, so
// two builds can be compared value by value as well as pixel by pixel.
//
// The nested charts (depth 64, 256 and the nesting limit, the depth being
// the level of the deepest block) hold one process block and one compound
// block per level, the compounds taking turns as if-else, while, repeat and
// for, each level inside the first branch of the one above; each runs in a
// process of its own, so that its peak memory (the last column) is its own.
#include "chart/chart_composition.h"
#include "chart/chart_repaint.h"
#include "chart/chart_xml.h"
#include "chart/fc_list.h"
#include "chart/nesting_limit.h"
#include "platform/bitmap.h"
#include "settings/main_settings.h"

#include "../common/chart_builder.h"
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QProcess>
#include <QTextStream>
#include <sys/resource.h>

#include <QTemporaryDir>
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <vector>

using namespace tvx;

namespace {

// A small deterministic generator, so every run builds the same charts.
class TRandom {
public:
    explicit TRandom(std::uint32_t Seed) : FState(Seed) {}
    int Below(int N) {
        FState = FState * 1664525u + 1013904223u;
        return N <= 0 ? 0 : int((FState >> 8) % std::uint32_t(N));
    }

private:
    std::uint32_t FState;
};

constexpr int MaxDepth = 8;

QString TextFor(TBlockKind Kind, int N) {
    const QString I = QString::number(N);
    switch (Kind) {
    case bkProcess:
        return N % 7 == 0 ? "x" + I + " := x" + I + " + 1;\r\ny := y * 2" : "x" + I + " := " + I;
    case bkCall:
        return "Report(x" + I + ")";
    case bkOutput:
        return "'value', x" + I;
    case bkInput:
        return "x" + I;
    case bkFor:
        return "i" + I + " := 1 to 10";
    case bkCase:
        return "x" + I + " mod 3";
    default:
        return "x" + I + " < " + QString::number(N % 50);
    }
}

class TChartGenerator {
public:
    TChartGenerator(TChartBuilder& Builder, std::uint32_t Seed) : Builder(Builder), Random(Seed) {}

    // Fills branch Branch of Owner with about Budget blocks.
    void Fill(TFlowBlock* Owner, int Branch, int Budget) {
        while (Budget > 0) {
            const int Level = Owner->Level + 1;
            const bool Compound = Level < MaxDepth && Budget >= 2 && Random.Below(100) < 40;
            if (!Compound) {
                AddSimple(Owner, Branch, Level);
                --Budget;
                continue;
            }
            static const TBlockKind Kinds[] = {bkCase, bkIfElse, bkIfElse,    bkWhile,    bkRepeat,
                                               bkFor,  bkFor,    bkIfYesLeft, bkIfNoRight};
            const TBlockKind Kind = Kinds[Random.Below(int(std::size(Kinds)))];
            TFlowBlock* Block = Builder.Append(Owner, Branch, Kind, TextFor(Kind, ++Counter));
            --Budget;
            const int Inner = 1 + Random.Below(std::max(1, std::min(Budget, 12)));
            FillBranches(Block, std::min(Inner, Budget));
            Budget -= std::min(Inner, Budget);
        }
    }

    int Counter = 0;

private:
    void AddSimple(TFlowBlock* Owner, int Branch, int Level) {
        static const TBlockKind Kinds[] = {bkProcess, bkProcess, bkProcess,
                                           bkCall,    bkOutput,  bkInput};
        TBlockKind Kind = Kinds[Random.Below(int(std::size(Kinds)))];
        if (Level <= 1 && Random.Below(40) == 0) {
            Kind = bkPageBreak;
        }
        Builder.Append(Owner, Branch, Kind, TextFor(Kind, ++Counter));
    }

    void FillBranches(TFlowBlock* Block, int Budget) {
        std::vector<int> Branches;
        switch (Block->Kind) {
        case bkCase:
            Branches = {0, 1, 2};
            break;
        case bkIfElse:
            Branches = {0, 1};
            break;
        case bkIfNoRight:
            Branches = {1};
            break;
        default:
            Branches = {0};
            break;
        }
        for (size_t K = 0; K < Branches.size(); ++K) {
            const int Share = K + 1 == Branches.size() ? Budget : Random.Below(Budget + 1);
            Fill(Block, Branches[K], Share);
            Budget -= Share;
        }
    }

    TChartBuilder& Builder;
    TRandom Random;
};

// A chart of about Blocks blocks whose root chain holds groups of nested
// blocks, so both the height and the nesting grow with the size. The numbers
// in the texts count on from FirstNumber, so charts built from other first
// numbers of as many digits have the same shape and texts of their own.
void BuildChart(TFCList& Chart, int Blocks, std::uint32_t Seed, int FirstNumber) {
    TChartBuilder Builder(Chart);
    TChartGenerator Generator(Builder, Seed);
    Generator.Counter = FirstNumber;
    // Deep groups first, so every chart reaches the full nesting depth.
    TFlowBlock* Outer = Builder.Root;
    int Branch = 0;
    for (int Level = 1; Level < MaxDepth; ++Level) {
        TBlockKind Kind = Level % 2 == 0 ? bkWhile : bkIfElse;
        Outer = Builder.Append(Outer, Branch, Kind, TextFor(Kind, ++Generator.Counter));
        Branch = 0;
    }
    Builder.Append(Outer, 0, bkProcess, "deepest := true");
    Generator.Fill(Builder.Root, 0, Blocks - Chart.Count() + 1);
}

// What a chart window does on a repaint.
struct TWindow {
    TBitmap Picture;
    TChartComposition Composition;
    TWindow() { Picture.SetPixelFormat(pf16bit); }
};

const TRect Screen{0, 0, 1280, 1024};

template <typename Repaint> double Milliseconds(Repaint&& Run) {
    QElapsedTimer Timer;
    Timer.start();
    Run();
    return double(Timer.nsecsElapsed()) / 1e6;
}

double WindowRepaint(TFCList& Chart, TWindow& Window) {
    return Milliseconds([&] {
        LayoutChart(Chart);
        Window.Composition.Compose(Chart, Window.Picture, Screen);
    });
}

double Median(std::vector<double> Times) {
    std::sort(Times.begin(), Times.end());
    return Times[Times.size() / 2];
}

struct TTimings {
    int Width = 0; // of the chart picture before the edits
    int Height = 0;
    double Unchanged = 0;
    double AfterEdit = 0;
    double First = 0;
    double FirstWhole = 0;
};

TTimings Measure(TFCList& Chart, int Runs, int Target, std::uint32_t Seed) {
    TTimings Result;
    TWindow Window;
    std::vector<double> Times;
    WindowRepaint(Chart, Window);
    for (int I = 0; I < Runs; ++I) {
        Times.push_back(WindowRepaint(Chart, Window));
    }
    Result.Unchanged = Median(Times);
    Result.Width = Window.Picture.Width();
    Result.Height = Window.Picture.Height();
    Times.clear();
    TRandom Random(7);
    for (int I = 0; I < Runs; ++I) {
        TFlowBlock* Block = Chart.GetBlock(1 + Random.Below(Chart.Count() - 1));
        Block->Text += QStringLiteral(" + 1");
        Times.push_back(WindowRepaint(Chart, Window));
    }
    Result.AfterEdit = Median(Times);
    // Fresh charts with texts of their own, each repainted once.
    std::vector<double> Whole;
    Times.clear();
    for (int I = 1; I <= 2 * Runs; ++I) {
        TFCList Fresh;
        BuildChart(Fresh, Target, Seed, I * 1000000);
        if (I % 2 == 0) {
            TWindow FreshWindow;
            Times.push_back(WindowRepaint(Fresh, FreshWindow));
        } else {
            TBitmap Picture;
            Picture.SetPixelFormat(pf16bit);
            Whole.push_back(Milliseconds([&] { RepaintChart(Fresh, Picture); }));
        }
    }
    Result.First = Median(Times);
    Result.FirstWhole = Median(Whole);
    return Result;
}

// The layout values of every block, one line each (and one per branch).
bool SaveValues(const TFCList& Chart, const QString& FileName) {
    QFile File(FileName);
    if (!File.open(QIODevice::WriteOnly | QIODevice::Text)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(FileName));
        return false;
    }
    QTextStream Out(&File);
    auto R = [](const TRect& Rect) {
        return QString("%1,%2,%3,%4").arg(Rect.Left).arg(Rect.Top).arg(Rect.Right).arg(Rect.Bottom);
    };
    for (const TFlowBlock* B : Chart.GetList()) {
        Out << B->Index << " kind " << int(B->Kind) << " abs " << B->AbsX << "," << B->AbsY
            << " rel " << B->RelX << "," << B->RelY << " size " << B->Bitmap->Width() << "x"
            << B->Bitmap->Height() << " ext " << B->LeftExtent << "," << B->RightExtent << " exit "
            << B->ExitY << " page " << B->PageY << " in " << R(B->InRect) << " out "
            << R(B->OutRect) << " shape " << R(B->ShapeRect) << " text " << R(B->TextRect) << "\n";
        for (const TPropertyItems& Item : B->Items) {
            Out << "  branch offset " << Item.Offset << " chain " << Item.ChainX << ","
                << Item.ChainY << " rect " << R(Item.Rect) << " entry " << R(Item.EntryRect)
                << " label " << R(Item.LabelRect) << "\n";
        }
    }
    return true;
}

// A chart nested Depth levels deep (its deepest block at level Depth): on
// each level a process block and a compound block (if-else, while, repeat,
// for in turn) whose first branch holds the next level; a process block
// alone on the deepest level.
void BuildNestedChart(TFCList& Chart, int Depth, const QString& Only) {
    TChartBuilder Builder(Chart);
    static const TBlockKind Kinds[] = {bkIfElse, bkWhile, bkRepeat, bkFor};
    TFlowBlock* Owner = Builder.Root;
    for (int Level = 1; Level < Depth; ++Level) {
        const TBlockKind Kind = Only == "if"      ? bkIfElse
                                : Only == "while" ? bkWhile
                                                  : Kinds[(Level - 1) % 4];
        Builder.Append(Owner, 0, bkProcess, "x" + QString::number(Level) + " := 0");
        Owner = Builder.Append(Owner, 0, Kind, TextFor(Kind, Level));
    }
    Builder.Append(Owner, 0, bkProcess, "deepest := true");
}

// Peak memory of this process so far, in MB (the high-water mark of its
// resident memory, which a fresh program does not inherit from its parent).
double PeakMegabytes() {
    QFile Status(QStringLiteral("/proc/self/status"));
    if (Status.open(QIODevice::ReadOnly | QIODevice::Text)) {
        for (const QByteArray& Line : Status.readAll().split('\n')) {
            if (Line.startsWith("VmHWM:")) {
                return Line.mid(6).trimmed().split(' ').value(0).toDouble() / 1024.0;
            }
        }
    }
    rusage Usage{};
    getrusage(RUSAGE_SELF, &Usage);
    return double(Usage.ru_maxrss) / 1024.0;
}

bool SavePicture(const TBitmap& Picture, const QString& FileName) {
    if (!Picture.Image().save(FileName, "PNG")) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(FileName));
        return false;
    }
    return true;
}

int RunTimings(const QString& PngDir, int OnlyBlocks) {
    std::printf("%8s %6s %6s %14s %12s %12s %12s %14s %8s\n", "blocks", "levels", "passes",
                "picture", "unchanged ms", "edited ms", "first ms", "first whole ms", "peak MB");
    const std::vector<int> Targets =
        OnlyBlocks != 0 ? std::vector<int>{OnlyBlocks} : std::vector<int>{100, 1000, 3000};
    for (int Target : Targets) {
        TFCList Chart;
        const std::uint32_t Seed = 12345u + std::uint32_t(Target);
        BuildChart(Chart, Target, Seed, 0);
        const int Runs = Target >= 3000 ? 5 : 9;
        const TTimings Ms = Measure(Chart, Runs, Target, Seed);
        const int Passes = RepaintPassCount(Chart.MaxLevel(), MainSettings->pm_alleq);
        std::printf("%8d %6d %6d %7d x %-5d %12.2f %12.2f %12.2f %14.2f %8.0f\n", Chart.Count(),
                    Chart.MaxLevel(), Passes, Ms.Width, Ms.Height, Ms.Unchanged, Ms.AfterEdit,
                    Ms.First, Ms.FirstWhole, PeakMegabytes());
        std::fflush(stdout);
        if (!PngDir.isEmpty()) {
            TBitmap Picture;
            Picture.SetPixelFormat(pf16bit);
            RepaintChart(Chart, Picture);
            const QString Name = PngDir + QString("/chart_%1").arg(Chart.Count());
            if (!SavePicture(Picture, Name + ".png") || !SaveValues(Chart, Name + ".txt")) {
                return 1;
            }
            SaveToXML(Chart, Name + ".fml");
        }
    }
    return 0;
}

// The row of the nested chart of depth Depth: the first repaint of the
// window, a repaint of the unchanged chart, the first repaint with the whole
// picture composed, and the peak memory of the process.
int RunNested(int Depth, const QString& Only, const QString& PngDir) {
    TWindow Window;
    TFCList Chart;
    BuildNestedChart(Chart, Depth, Only);
    const double First = WindowRepaint(Chart, Window);
    std::vector<double> Times;
    for (int I = 0; I < 5; ++I) {
        Times.push_back(WindowRepaint(Chart, Window));
    }
    const double Unchanged = Median(Times);
    TFCList Fresh;
    BuildNestedChart(Fresh, Depth, Only);
    TBitmap Picture;
    Picture.SetPixelFormat(pf16bit);
    const double FirstWhole = Milliseconds([&] { RepaintChart(Fresh, Picture); });
    const int Passes = RepaintPassCount(Chart.MaxLevel(), MainSettings->pm_alleq);
    std::printf("%8d %6d %6d %7d x %-5d %12.2f %12s %12.2f %14.2f %8.0f\n", Chart.Count(),
                Chart.MaxLevel(), Passes, Window.Picture.Width(), Window.Picture.Height(),
                Unchanged, "-", First, FirstWhole, PeakMegabytes());
    std::fflush(stdout);
    if (!PngDir.isEmpty()) {
        const QString Name = PngDir + QString("/nested_%1").arg(Depth);
        if (!SavePicture(Picture, Name + ".png") || !SaveValues(Fresh, Name + ".txt")) {
            return 1;
        }
        SaveToXML(Fresh, Name + ".fml");
    }
    return 0;
}

// A chart of five process blocks whose one-line texts are 1,000, 10,000,
// 50,000, 200,000 and 1,000,000 characters long (a file of 1.26 MB): its
// first repaint as the window does it, and the peak memory of the process.
// The chart is saved to FileName, to be opened in the editor too.
int RunLongTexts(const QString& FileName) {
    TFCList Chart;
    TChartBuilder Builder(Chart);
    for (int Length : {1'000, 10'000, 50'000, 200'000, 1'000'000}) {
        QString Text = QStringLiteral("x :=");
        for (int N = 0; Text.size() < Length; ++N) {
            Text += QStringLiteral(" a%1 +").arg(N);
        }
        Builder.Append(Builder.Root, 0, bkProcess, Text.left(Length));
    }
    TWindow Window;
    const double First = WindowRepaint(Chart, Window);
    TBitmap Picture;
    Picture.SetPixelFormat(pf16bit);
    const double Whole = Milliseconds([&] { RepaintChart(Chart, Picture); });
    std::printf("long texts: picture %d x %d, first repaint %.2f ms, whole picture %.2f ms, "
                "peak %.0f MB\n",
                Window.Picture.Width(), Window.Picture.Height(), First, Whole, PeakMegabytes());
    SaveToXML(Chart, FileName);
    return 0;
}

constexpr int kNestingLimit = kMaxNestingLevel;

// Each nested chart in a process of its own (this program with --nested).
int RunNestedRows(const QString& Program, const QString& PngDir, const QStringList& Forwarded) {
    std::vector<int> Depths{64, 256};
    if (kNestingLimit != 256) {
        Depths.push_back(kNestingLimit);
    }
    for (int Depth : Depths) {
        QStringList Args = QStringList{"--nested", QString::number(Depth)} + Forwarded;
        if (!PngDir.isEmpty()) {
            Args << "--png" << PngDir;
        }
        QProcess Child;
        Child.setProcessChannelMode(QProcess::ForwardedChannels);
        Child.start(Program, Args);
        if (!Child.waitForFinished(-1) || Child.exitCode() != 0) {
            std::printf("%8s nested depth %d failed (exit %d)\n", "", Depth, Child.exitCode());
        }
    }
    return 0;
}

// --- gallery ---

struct TGalleryEntry {
    QString Name;
    TBlockKind Kind;
    bool ForOld = true;
};

// Fills the branches a kind lays out with one or two blocks each.
void FillGalleryBranches(TChartBuilder& B, TFlowBlock* Block) {
    switch (Block->Kind) {
    case bkCase:
        B.Append(Block, 0, bkProcess, "a := 0");
        B.Append(Block, 1, bkProcess, "a := 1");
        B.Append(Block, 1, bkCall, "Log(a)");
        B.Append(Block, 2, bkOutput, "'other'");
        break;
    case bkIfElse:
        B.Append(Block, 0, bkProcess, "y := 1");
        B.Append(Block, 1, bkProcess, "y := 2");
        B.Append(Block, 1, bkCall, "Log(y)");
        break;
    case bkIfYesLeft:
        B.Append(Block, 0, bkProcess, "y := 1");
        break;
    case bkIfNoRight:
        B.Append(Block, 1, bkProcess, "y := 2");
        B.Append(Block, 1, bkCall, "Log(y)");
        break;
    case bkWhile:
    case bkRepeat:
    case bkFor:
        B.Append(Block, 0, bkProcess, "s := s + i");
        B.Append(Block, 0, bkInput, "i");
        break;
    default:
        break;
    }
}

void BuildGalleryChart(TFCList& Chart, TBlockKind Kind) {
    TChartBuilder B(Chart);
    B.Append(B.Root, 0, bkProcess, "a := 1");
    switch (Kind) {
    case bkProcess:
    case bkCall:
    case bkOutput:
    case bkInput:
        B.Append(B.Root, 0, Kind, TextFor(Kind, 1));
        B.Append(B.Root, 0, Kind, "a");
        B.Append(B.Root, 0, Kind, "first line\r\nsecond, longer line");
        break;
    case bkPageBreak:
        B.Append(B.Root, 0, Kind, QString());
        B.Append(B.Root, 0, bkProcess, "b := 2");
        B.Append(B.Root, 0, Kind, QString());
        break;
    default: {
        TFlowBlock* Full = B.Append(B.Root, 0, Kind, TextFor(Kind, 1));
        FillGalleryBranches(B, Full);
        B.Append(B.Root, 0, Kind, Kind == bkFor ? "k := 1 to n" : "k > 0");
        break;
    }
    }
    B.Append(B.Root, 0, bkProcess, "b := 2");
}

// A chart with a selected block of several kinds, to see the selection colour.
void BuildSelectionChart(TFCList& Chart) {
    TChartBuilder B(Chart);
    Chart.Selection.Add(B.Append(B.Root, 0, bkProcess, "a := 1"));
    TFlowBlock* If = B.Append(B.Root, 0, bkIfElse, "a > 0");
    Chart.Selection.Add(If);
    B.Append(If, 0, bkProcess, "b := 1");
    TFlowBlock* W = B.Append(If, 1, bkWhile, "b < 9");
    Chart.Selection.Add(W);
    Chart.Selection.Add(B.Append(W, 0, bkCall, "Step(b)"));
    Chart.Selection.Add(B.Append(B.Root, 0, bkOutput, "b"));
    Chart.Selection.Add(Chart.First());
}

int RunGallery(const QString& Dir, TMainSettings& Settings) {
    const TGalleryEntry Entries[] = {
        {"kind00_process", bkProcess},
        {"kind01_case", bkCase},
        {"kind02_call", bkCall},
        {"kind03_if_else", bkIfElse},
        {"kind04_while", bkWhile},
        {"kind05_repeat", bkRepeat},
        {"kind06_for_one_hexagon", bkFor, true},
        {"kind06_for_two_shapes", bkFor, false},
        {"kind08_output", bkOutput},
        {"kind09_input", bkInput},
        {"kind11_if_yes_only", bkIfYesLeft},
        {"kind15_if_no_only", bkIfNoRight},
        {"kind17_page_break", bkPageBreak},
    };
    for (const TGalleryEntry& Entry : Entries) {
        Settings.pm_ForOld = Entry.ForOld;
        TFCList Chart;
        BuildGalleryChart(Chart, Entry.Kind);
        RepaintChart(Chart);
        if (!SavePicture(*Chart.ChartBitmap, Dir + "/" + Entry.Name + ".png") ||
            !SaveValues(Chart, Dir + "/" + Entry.Name + ".txt")) {
            return 1;
        }
    }
    Settings.pm_ForOld = true;
    TFCList Chart;
    BuildSelectionChart(Chart);
    RepaintChart(Chart);
    if (!SavePicture(*Chart.ChartBitmap, Dir + "/selection.png")) {
        return 1;
    }
    TFCList Root;
    TChartBuilder Only(Root);
    RepaintChart(Root);
    return SavePicture(*Root.ChartBitmap, Dir + "/root_only.png") ? 0 : 1;
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication App(argc, argv);
    QTemporaryDir ProgramDir;
    TMainSettings Settings(ProgramDir.path() + "/");
    MainSettings = &Settings;

    QString PngDir;
    QString GalleryDir;
    int Nested = 0;
    int OnlyBlocks = 0;
    QString LongTexts;
    QString Only;
    QStringList Forwarded; // settings the nested charts' processes draw with too
    const QStringList Args = App.arguments();
    for (int I = 1; I < Args.size(); ++I) {
        if (Args[I] == "--png" && I + 1 < Args.size()) {
            PngDir = Args[++I];
        } else if (Args[I] == "--gallery" && I + 1 < Args.size()) {
            GalleryDir = Args[++I];
        } else if (Args[I] == "--font-size" && I + 1 < Args.size()) {
            Settings.FontBlock.Size = Args[++I].toInt();
            Forwarded << Args[I - 1] << Args[I];
        } else if (Args[I] == "--ifangle" && I + 1 < Args.size()) {
            Settings.pm_ifangle = Args[++I].toInt();
            Forwarded << Args[I - 1] << Args[I];
        } else if (Args[I] == "--nested" && I + 1 < Args.size()) {
            Nested = Args[++I].toInt();
        } else if (Args[I] == "--blocks" && I + 1 < Args.size()) {
            OnlyBlocks = Args[++I].toInt();
        } else if (Args[I] == "--kind" && I + 1 < Args.size()) {
            Only = Args[++I];
        } else if (Args[I] == "--long-texts" && I + 1 < Args.size()) {
            LongTexts = Args[++I];
        } else {
            std::fprintf(stderr,
                         "usage: layout_bench [--png DIR] [--blocks N] [--gallery DIR] "
                         "[--font-size PT] [--ifangle DEG] [--nested DEPTH [--kind if|while]] "
                         "[--long-texts FILE]\n");
            return 2;
        }
    }
    for (const QString& Dir : {PngDir, GalleryDir}) {
        if (!Dir.isEmpty() && !QDir().mkpath(Dir)) {
            std::fprintf(stderr, "cannot create %s\n", qPrintable(Dir));
            return 1;
        }
    }
    int Result = 0;
    if (!LongTexts.isEmpty()) {
        Result = RunLongTexts(LongTexts);
    } else if (Nested > 0) {
        Result = RunNested(Nested, Only, PngDir);
    } else if (!GalleryDir.isEmpty()) {
        Result = RunGallery(GalleryDir, Settings);
    } else {
        Result = RunTimings(PngDir, OnlyBlocks);
        if (Result == 0 && OnlyBlocks == 0) {
            Result = RunNestedRows(App.applicationFilePath(), PngDir, Forwarded);
        }
    }
    MainSettings = nullptr;
    return Result;
}
