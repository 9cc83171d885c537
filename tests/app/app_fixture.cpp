#include "app_fixture.h"

#include "chart/chart_xml.h"

#include <QCoreApplication>

using namespace tvx;

void AppTest::SetUp() {
    ASSERT_TRUE(ProgramDirectory.isValid());
    Prompts = std::make_unique<TRecordingPromptsScope>();
    Metrics = std::make_unique<TTextMetricsGuard>(7, 13);
    // As at start: the settings come first, the main window records the
    // program directory later.
    Settings = std::make_unique<TMainSettings>(Dir());
    MainSettings = Settings.get();
}

void AppTest::TearDown() {
    FormPtr.reset();
    Settle();
    MainSettings = nullptr;
    Settings.reset();
    ProgramDir.clear();
    Metrics.reset();
    Prompts.reset();
}

void AppTest::StartEditor(const QStringList& Arguments) {
    FormPtr = std::make_unique<TMainForm>(QStringList{PathOf("tarvinex")} + Arguments);
    FormPtr->show();
    Settle();
}

void AppTest::CloseEditor() {
    FormPtr->close();
    FormPtr.reset();
    Settle();
}

void AppTest::Settle() {
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
}

TFlowBlock* AppTest::Edit(TBlockKind Kind, const QString& Text) {
    TMDIChild* child = Active();
    if (child == nullptr) {
        return nullptr;
    }
    TFCList& chart = *child->Chart;
    TFlowBlock* target = chart.First();
    TMouseInfo place(-1);
    for (TFlowBlock* k = target->GetItemChain(0); k != nullptr; k = k->Next) {
        target = k;
    }
    const QString text = Text.isEmpty() ? QStringLiteral("a := %1").arg(chart.Count()) : Text;
    TFlowBlock* added = chart.AddBlock(target, Kind, -1, text, &place);
    child->RePaintChem();
    Form().MakeAction();
    return added;
}

void AppTest::WriteChartFile(const QString& FileName, int Blocks, const QString& RootText) {
    TFCList chart;
    TMouseInfo place(-1);
    TFlowBlock* last = chart.AddBlock(nullptr, bkRoot, 0, RootText, &place);
    for (int i = 0; i < Blocks; ++i) {
        last = chart.AddBlock(last, bkProcess, -1, QStringLiteral("x := %1").arg(i), &place);
    }
    SaveToXML(chart, FileName);
}
