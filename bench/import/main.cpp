// import_bench [--tree] FILE...: imports each source file with the grammar of its
// language (Pascal: .pas .pp .dpr .lpr; C: .c .h) from the program directory
// and prints one line per file, then the totals and the speed from source
// text to charts. Every accepted file is parsed once more, untimed, to check
// that each of its statements reached a chart: a file that lost one is
// reported LOST. The include files and undefined names that left code
// unread are listed under the file.
//   --tree   also prints the charts built, block by block
// The share of a corpus accepted: scripts/fetch-corpus-c fetches real C
// example programs into build/corpus/c/ (where each comes from is in its
// SOURCES.txt); then import_bench build/corpus/c/*/*.c.
#include "chart/fc_list.h"
#include "import/import_driver.h"
#include "import/statement_tally.h"
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <cstdio>
#include <new>

using namespace tvx;

namespace {

bool LanguageOf(const QString& FileName, TSourceLanguage& Language) {
    const QString suffix = QFileInfo(FileName).suffix().toLower();
    if (suffix == "pas" || suffix == "pp" || suffix == "dpr" || suffix == "lpr") {
        Language = slPascal;
        return true;
    }
    if (suffix == "c" || suffix == "h") {
        Language = slCpp;
        return true;
    }
    return false;
}

void PrintChain(const TFlowBlock* Block, int Depth) {
    for (; Block != nullptr; Block = Block->Next) {
        std::printf("%*s[%d] %s\n", Depth * 2, "", int(Block->Kind),
                    Block->Text.toUtf8().constData());
        for (int j = 0; j < Block->ItemCount(); ++j) {
            if (Block->GetItemChain(j) != nullptr) {
                std::printf("%*s#%d\n", Depth * 2 + 1, "", j);
                PrintChain(Block->GetItemChain(j), Depth + 1);
            }
        }
    }
}

void PrintCharts(const TTVXParseChartes& Import) {
    for (int i = 0; i < Import.GetChartCount(); ++i) {
        const TFCList* chart = Import.GetChart(i);
        std::printf("  chart \"%s\" (%d blocks)\n", chart->Caption.toUtf8().constData(),
                    chart->Count());
        PrintChain(chart->First(), 2);
    }
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QString programDir = QCoreApplication::applicationDirPath() + "/";
    QStringList files = app.arguments().mid(1);
    const bool tree = files.removeAll("--tree") > 0;
    const bool help = files.removeAll("--help") + files.removeAll("-h") > 0;
    if (help || files.isEmpty()) {
        std::fprintf(help ? stdout : stderr,
                     "usage: import_bench [--tree] FILE...\n"
                     "Imports each Pascal (.pas .pp .dpr .lpr) or C (.c .h) file, prints one\n"
                     "line per file, then the share accepted and the speed.\n"
                     "  --tree  also prints the charts built, block by block\n");
        return help ? 0 : 2;
    }
    int accepted = 0;
    qint64 charts = 0;
    qint64 blocks = 0;
    qint64 bytes = 0;
    qint64 nanoseconds = 0;
    qint64 statements = 0;
    int lost = 0;
    for (const QString& file : files) {
        TSourceLanguage language = slPascal;
        if (!LanguageOf(file, language)) {
            std::printf("FAIL %s: not a Pascal or C file\n", file.toUtf8().constData());
            continue;
        }
        TTVXParseChartes import(language);
        import.GrammarFile =
            programDir + (language == slPascal ? "ImportPAS.dll" : "ImportCPP.dll");
        TErrorReport report;
        bool ok = false;
        QElapsedTimer timer;
        timer.start();
        try {
            import.LoadFromFile(file);
            ok = import.Parse(report);
        } catch (const Exception& e) {
            report.Message = e.message();
        } catch (const std::bad_alloc&) {
            // As the editor does: this file fails, the others go on.
            report.Message = "not enough memory";
        }
        nanoseconds += timer.nsecsElapsed();
        bytes += QFileInfo(file).size();
        if (ok) {
            ++accepted;
            charts += import.GetChartCount();
            int fileBlocks = 0;
            for (int i = 0; i < import.GetChartCount(); ++i) {
                blocks += import.GetChart(i)->Count();
                fileBlocks += test::CountBlocks(*import.GetChart(i));
            }
            const test::TStatementTally tally = test::TallyStatements(import, fileBlocks);
            statements += tally.Statements();
            if (!tally.Fault().isEmpty()) {
                ++lost;
                std::printf("LOST %s: %s\n", file.toUtf8().constData(),
                            tally.Fault().toUtf8().constData());
            }
            std::printf("OK %s: %d charts\n", file.toUtf8().constData(), import.GetChartCount());
            const TImportNotes& notes = import.GetNotes();
            if (!notes.Empty()) {
                std::printf(
                    "  not read: %s\n",
                    (notes.SkippedIncludes + notes.UndefinedNames).join(", ").toUtf8().constData());
            }
        } else {
            std::printf("FAIL %s: %s\n", file.toUtf8().constData(),
                        report.Message.toUtf8().constData());
        }
        if (tree) {
            PrintCharts(import);
        }
    }
    const double seconds = double(nanoseconds) / 1e9;
    const double megabytes = double(bytes) / (1024.0 * 1024.0);
    std::printf("accepted %.1f %%, statements checked %lld, files that lost a statement %d\n",
                files.isEmpty() ? 0.0 : 100.0 * accepted / double(files.size()),
                static_cast<long long>(statements), lost);
    std::printf("files %lld, accepted %d, charts %lld, blocks %lld, %.2f MB in %.3f s, %.2f MB/s\n",
                static_cast<long long>(files.size()), accepted, static_cast<long long>(charts),
                static_cast<long long>(blocks), megabytes, seconds,
                seconds > 0 ? megabytes / seconds : 0.0);
    return accepted == files.size() && lost == 0 ? 0 : 1;
}
