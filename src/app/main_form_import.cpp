// Source import: a Pascal or C file becomes a chart window with one tab per
// chart; the edited source pane of a window can be imported again in place.
#include "app/chart_collection.h"
#include "app/chart_file_names.h"
#include "app/error_report_form.h"
#include "app/interface_texts.h"
#include "app/main_form.h"
#include "app/mdi_child.h"
#include "chart/fc_list.h"
#include "codegen/export_state.h"
#include "import/import_driver.h"
#include "platform/prompts.h"
#include "settings/main_settings.h"

#include <QPlainTextEdit>
#include <QTabBar>
#include <QTextBlock>

namespace tvx {
namespace {

const char* const ImportFilter = "Файлы программ (*.PAS)|*.pas;|Файлы программ (*.c*)|*.c*;|"
                                 "Все файлы (*.*)|*.*|";

// The charts of one import, as the chart window keeps them: the converter
// stays alive with them, since they are its. Its language is the window's
// for the next re-import.
class TImportedCharts : public TChartCollection {
public:
    explicit TImportedCharts(std::unique_ptr<TTVXParseChartes> Import)
        : Import(std::move(Import)) {}
    int ChartCount() const override { return Import->GetChartCount(); }
    TFCList* GetChart(int Index) const override { return Import->GetChart(Index); }
    QString SourceText() const override { return Import->LoadedText; }
    TSourceLanguage Language() const { return Import->GetSourceLanguage(); }

private:
    std::unique_ptr<TTVXParseChartes> Import;
};

// Puts the source language back when the import is over, however it ends.
class TSourceTypeScope {
public:
    TSourceTypeScope() : Remembered(MainSettings->SourceType) {}
    ~TSourceTypeScope() { MainSettings->SetSourceType(Remembered); }
    TSourceTypeScope(const TSourceTypeScope&) = delete;
    TSourceTypeScope& operator=(const TSourceTypeScope&) = delete;
    std::uint8_t Value() const { return Remembered; }

private:
    std::uint8_t Remembered;
};

// Selects line Line (counted from 1, as the parser counts) of the pane.
void SelectLine(QPlainTextEdit& Pane, int Line) {
    if (Line < 1) {
        return;
    }
    const QTextBlock block = Pane.document()->findBlockByNumber(Line - 1);
    if (!block.isValid()) {
        return;
    }
    QTextCursor cursor(block);
    cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
    Pane.setTextCursor(cursor);
    Pane.ensureCursorVisible();
}

// The compiled grammar tables of a source language; empty when SourceType
// is not a language.
QString GrammarFile(int SourceType) {
    switch (SourceType) {
    case slPascal:
        return ProgramDir + QStringLiteral("ImportPAS.dll");
    case slCpp:
        return ProgramDir + QStringLiteral("ImportCPP.dll");
    default:
        return QString();
    }
}

// What the window's source pane is read as: the language of the import that
// filled the window; for a window no import filled, the Import menu's.
int WindowSourceType(const TMDIChild& Child) {
    const auto* imported = dynamic_cast<const TImportedCharts*>(Child.ParseResult.get());
    return imported != nullptr ? int(imported->Language()) : int(MainSettings->SourceType);
}

// What refusals of a re-import call the text they refuse: the pane it is
// in, by its window, and not the file it was first imported from, which
// may hold another text by now.
QString SourcePaneName(const TMDIChild& Child) {
    return QStringLiteral("The source pane of ") + Child.Caption();
}

} // namespace

std::unique_ptr<TTVXParseChartes> TMainForm::ImportFromFile(const QString& FileName) {
    // The language is fixed now: the window keeps it for its re-imports,
    // whatever the Import menu says later.
    auto import = std::make_unique<TTVXParseChartes>(TSourceLanguage(MainSettings->SourceType));
    import->LoadFromFile(FileName);
    import->GrammarFile = GrammarFile(MainSettings->SourceType);
    if (import->GrammarFile.isEmpty()) {
        return nullptr;
    }
    TErrorReport report;
    if (import->Parse(report)) {
        return import;
    }
    report.SourceText = import->GetSourceText();
    TfmErrorMessage window(this);
    window.ShowReport(QStringLiteral("Во время импорта произошла критическая ошибка"), report);
    return nullptr;
}

void TMainForm::Pascal2Click() {
    const TSourceTypeScope sourceType;
    TFileDialogRequest request;
    request.InitialDir = MainSettings->WorkDirectory;
    request.Filter = QString::fromUtf8(ImportFilter);
    request.FilterIndex = sourceType.Value() == slPascal ? 1 : sourceType.Value() == slCpp ? 2 : 3;
    const TFileDialogResult answer = Prompts().OpenFileDialog(request);
    if (!answer.Accepted()) {
        return;
    }
    // The filter chooses the language of this import only.
    if (answer.FilterIndex == 1) {
        MainSettings->SetSourceType(slPascal);
    } else if (answer.FilterIndex == 2) {
        MainSettings->SetSourceType(slCpp);
    }
    std::unique_ptr<TTVXParseChartes> import;
    try {
        import = ImportFromFile(answer.FileName);
    } catch (const std::exception& e) {
        // A file that cannot be read, charts nested too deeply or too little
        // memory make no window; the open ones stay as they were.
        Prompts().ShowMessage(FailureMessage(e));
        return;
    }
    MainSettings->WorkDirectory = DirectoryOf(answer.FileName);
    std::unique_ptr<TChartCollection> charts;
    QString notes;
    if (import) {
        notes = import->GetNotes().Message();
        charts = std::make_unique<TImportedCharts>(std::move(import));
    }
    NewMDIChild(std::move(charts), 0, nullptr);
    ExportMode = emPlain;
    // The charts are shown first; then what they leave out.
    if (!notes.isEmpty()) {
        Prompts().ShowMessage(notes);
    }
}

void TMainForm::fromfile1Click() {
    Pascal2Click();
}

void TMainForm::sbCompileF9Click() {
    TMDIChild* child = ActiveMDIChild();
    if (child == nullptr) {
        return;
    }
    child->CommitEdit(); // an undo step the re-import can be undone to
    const int sourceType = WindowSourceType(*child);
    const QString grammar = GrammarFile(sourceType);
    if (grammar.isEmpty()) {
        return; // not a language: the window keeps what it shows
    }
    // The pane's text is read as it stands; no file is written for it.
    auto import = std::make_unique<TTVXParseChartes>(TSourceLanguage(sourceType));
    import->GrammarFile = grammar;
    TErrorReport report;
    bool accepted = false;
    try {
        import->LoadFromText(child->mmInputCode->toPlainText(), SourcePaneName(*child));
        accepted = import->Parse(report);
    } catch (const std::exception& e) {
        // A source too large, charts nested too deeply or too little memory:
        // the window keeps the charts it shows.
        Prompts().ShowMessage(FailureMessage(e));
        return;
    }
    if (!accepted) {
        // The window keeps its tabs, charts and histories: the source is
        // mended in the pane and imported again.
        SelectLine(*child->mmInputCode, report.Line);
        Prompts().ShowMessage(QStringLiteral("Синтаксическая ошибка!\r\n") + report.Message);
        return;
    }
    const int tab = child->TabSet1->count() > 0 ? child->TabSet1->currentIndex() : -1;
    child->HideEditor(); // its block goes with the charts replaced now
    const QString notes = import->GetNotes().Message();
    NewMDIChild(std::make_unique<TImportedCharts>(std::move(import)), 1, child);
    if (tab >= 0 && tab < child->ParseResult->ChartCount()) {
        child->TabSet1Change(tab);
    }
    child->update();
    child->RePaintChem();
    if (!notes.isEmpty()) {
        Prompts().ShowMessage(notes);
    }
}

} // namespace tvx
