// Times the code generator in its three languages over large charts, or, with
// --print, shows the text it writes for one chart.
//
//   codegen_bench                     time Pascal, C++ and Basic for ~1,000 and ~10,000 blocks
//   codegen_bench --print FILE.fml    print the three texts of the chart in a chart XML file
//   codegen_bench --print             the same for a small demo chart
#include "chart/chart_xml.h"
#include "chart/fc_list.h"
#include "codegen/code_generator.h"
#include "codegen/code_sink.h"
#include "codegen/export_state.h"
#include "settings/main_settings.h"

#include "../common/chart_builder.h"
#include <QElapsedTimer>

#include <QGuiApplication>
#include <QTemporaryDir>
#include <QTextStream>
#include <algorithm>
#include <cstdio>
#include <vector>

using namespace tvx;

namespace {

// One group of every kind that has text: 15 blocks, some nested three deep.
class TGroupBuilder : public TChartBuilder {
public:
    using TChartBuilder::TChartBuilder;

    void AddGroup(TFlowBlock* Owner, int Branch, int n) {
        const QString i = QString::number(n);
        Append(Owner, Branch, bkProcess, "x" + i + " := " + i);
        TFlowBlock* d = Append(Owner, Branch, bkIfElse, "x" + i + " > 0");
        Append(d, 0, bkOutput, "'positive'");
        Append(d, 1, bkProcess, "y := -x" + i);
        Append(d, 1, bkCall, "Report(y)");
        TFlowBlock* w = Append(Owner, Branch, bkWhile, "y < 10");
        TFlowBlock* f = Append(w, 0, bkFor, "k := 1 to 3");
        TFlowBlock* inner = Append(f, 0, bkIfElse, "odd(k)");
        Append(inner, 0, bkProcess, "y := y + k");
        Append(w, 0, bkProcess, "y := y + 1");
        TFlowBlock* r = Append(Owner, Branch, bkRepeat, "done");
        Append(r, 0, bkInput, "line");
        Append(r, 0, bkProcess, "done := line = ''");
        TFlowBlock* yesOnly = Append(Owner, Branch, bkIfYesLeft, "y = 0");
        Append(yesOnly, 0, bkProcess, "y := 1\r\n  + 2");
    }
};

constexpr int BlocksPerGroup = 15;

void BuildChart(TFCList& Chart, int Blocks) {
    TGroupBuilder b(Chart);
    for (int n = 0; Chart.Count() + BlocksPerGroup <= Blocks + 1; ++n) {
        b.AddGroup(b.Root, 0, n);
    }
}

double MillisecondsPerRun(TFCList& Chart, const TMainSettings& Settings, int Runs) {
    std::vector<double> times;
    for (int i = 0; i < Runs; ++i) {
        QStringList b1, b2;
        TCodeSink sink(b1, b2);
        QElapsedTimer t;
        t.start();
        TCodeGenerator(sink, Settings).SavePartToFile(Chart.First());
        times.push_back(double(t.nsecsElapsed()) / 1e6);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

const char* LanguageName(int Language) {
    switch (Language) {
    case elPascal:
        return "Pascal";
    case elCpp:
        return "C++";
    default:
        return "Basic";
    }
}

int Time(const TMainSettings& Settings) {
    std::printf("%-8s %8s %10s %12s\n", "language", "blocks", "lines", "ms per run");
    for (int blocks : {1000, 10000}) {
        TFCList chart;
        BuildChart(chart, blocks);
        for (int language : {elPascal, elCpp, elBasic}) {
            ExportLanguage = language;
            QStringList b1, b2;
            TCodeSink sink(b1, b2);
            TCodeGenerator(sink, Settings).SavePartToFile(chart.First());
            const double ms = MillisecondsPerRun(chart, Settings, 7);
            std::printf("%-8s %8d %10lld %12.2f\n", LanguageName(language), chart.Count(),
                        static_cast<long long>(b2.size()), ms);
        }
    }
    return 0;
}

int Print(const TMainSettings& Settings, const QString& FileName) {
    TFCList chart;
    if (FileName.isEmpty()) {
        TGroupBuilder b(chart);
        b.AddGroup(b.Root, 0, 1);
    } else {
        TChartReadFault fault = TChartReadFault::NotAChart;
        std::optional<TChartBlocks> read = ReadChartXmlFile(FileName, &fault);
        if (!read) {
            std::fprintf(stderr, "%s: %s\n", qPrintable(FileName),
                         qPrintable(ChartReadMessage(fault)));
            return 1;
        }
        InstallChartBlocks(chart, std::move(*read));
    }
    QTextStream out(stdout);
    for (int language : {elPascal, elCpp, elBasic}) {
        ExportLanguage = language;
        QStringList b1, b2;
        TCodeSink sink(b1, b2);
        TCodeGenerator(sink, Settings).SavePartToFile(chart.First());
        out << "--- " << LanguageName(language) << " ---\n" << b2.join('\n') << "\n";
    }
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QGuiApplication app(argc, argv);
    QTemporaryDir programDir; // keeps the bench away from any real Config.ini
    TMainSettings settings(programDir.path() + "/");
    MainSettings = &settings;
    const QStringList args = app.arguments();
    const int print = int(args.indexOf(QStringLiteral("--print")));
    const int result = print < 0 ? Time(settings) : Print(settings, args.value(print + 1));
    MainSettings = nullptr;
    return result;
}
