// Chart documents: new charts, opening and saving chart files in their three
// formats, and the recent-files entries of the File menu.
#include "app/chart_collection.h"
#include "app/chart_file_names.h"
#include "app/chart_file_state.h"
#include "app/chart_open_failure.h"
#include "app/interface_texts.h"
#include "app/legacy_chart_file.h"
#include "app/main_form.h"
#include "app/mdi_child.h"
#include "app/recent_files_menu.h"
#include "chart/chart_xml.h"
#include "chart/fc_list.h"
#include "codegen/code_export.h"
#include "codegen/file_names.h"
#include "platform/file_identity.h"
#include "platform/prompts.h"
#include "platform/regular_file.h"
#include "settings/main_settings.h"
#include "settings/read_refusal.h"

#include <QFile>
#include <QMdiArea>
#include <QMdiSubWindow>

namespace tvx {
namespace {

QString ChartFilter() {
    const QString ext = ServText("sm_default_xml");
    return QString::fromUtf8("Файлы блок схем XML    формат (") + ext + QStringLiteral(")|*") + ext;
}

} // namespace

TMDIChild* TMainForm::NewMDIChild(std::unique_ptr<TChartCollection> ParseResult, int,
                                  TMDIChild* Window) {
    const TMouseInfo rootTarget(-1);
    TMDIChild* child = Window;
    if (child == nullptr) {
        child = CreateMDIChild(NewChartName());
    }
    const bool hasCharts = ParseResult && ParseResult->ChartCount() > 0;
    const QString source = ParseResult ? ParseResult->SourceText() : QString();
    const bool fromImport = ParseResult != nullptr;
    child->SetParseResult(std::move(ParseResult));
    if (!hasCharts) {
        auto chart = std::make_unique<TFCList>();
        chart->AddBlock(nullptr, bkRoot, 0,
                        QStringLiteral("example") + QString::number(MDIChildCount() + 1),
                        &rootTarget);
        child->SetOwnChart(std::move(chart));
    }
    if (fromImport) {
        child->LoadSource(source);
    }
    MakeAction();
    // A new window starts with nothing to lose; a reused one (re-import) has
    // just had its charts replaced.
    if (Window == nullptr) {
        child->MarkUnchanged();
    }
    child->RePaintChem();
    return child;
}

QString TMainForm::NewChartName() const {
    QStringList taken;
    for (const TMDIChild* child : MDIChildren()) {
        taken.append(child->Caption());
    }
    auto name = [](int Number) {
        return ProgramDir + ServText("sm_default_file") + u'_' + QString::number(Number) +
               ServText("sm_default_xml");
    };
    int number = MDIChildCount() + 1;
    while (taken.contains(name(number))) {
        ++number;
    }
    return name(number);
}

void TMainForm::FileNew1Execute() {
    NewMDIChild(nullptr, 1, nullptr);
}

void TMainForm::FileOpen1Execute() {
    TFileDialogRequest request;
    request.Filter = ChartFilter();
    request.InitialDir = MainSettings->WorkDirectory;
    const TFileDialogResult answer = Prompts().OpenFileDialog(request);
    if (!answer.Accepted()) {
        return;
    }
    QFile chosen;
    const TFileRead opened = OpenRegularFile(chosen, answer.FileName);
    if (!opened.Ok()) {
        Prompts().ShowMessage(ReadRefusal(answer.FileName, opened, 0));
        return;
    }
    chosen.close();
    const QString name = ChartFileName(answer.FileName, ServText("sm_default_xml"));
    FileNameToMenu(name);
    FileOpenFML(name);
    MainSettings->WorkDirectory = DirectoryOf(name);
}

bool TMainForm::FileOpenFML(const QString& FileName) {
    // A file open already is shown where it is: a second window of it would
    // save over what the first one saved.
    if (TMDIChild* open = WindowHolding(FileName)) {
        Activate(*open);
        return true;
    }
    // Taken before the read: a change in between makes Save ask, never the
    // other way round.
    const TFileIdentity identity = FileIdentityOf(FileName);
    TChartReadFault fault = TChartReadFault::NotAChart;
    std::optional<TChartBlocks> read = ReadChartXmlFile(FileName, &fault);
    if (!read) {
        // A window without a chart would serve nothing.
        Prompts().ShowMessage(ChartOpenFailure(FileName, fault));
        return false;
    }
    auto chart = std::make_unique<TFCList>();
    InstallChartBlocks(*chart, std::move(*read));
    TMDIChild* child = CreateMDIChild(FileName);
    child->SetOwnChart(std::move(chart));
    MakeAction();
    child->ShownFile().Read(FileName, TChartForm::Xml, identity);
    child->MarkUnchanged();
    child->RePaintChem();
    return true;
}

TMDIChild* TMainForm::WindowHolding(const QString& FileName) const {
    const TFileIdentity identity = FileIdentityOf(FileName);
    for (TMDIChild* child : MDIChildren()) {
        for (const auto& [tab, file] : child->FileStates) {
            if (file.Known() && file.Identity.SameFileAs(identity)) {
                return child;
            }
        }
    }
    return nullptr;
}

void TMainForm::Activate(TMDIChild& Child) {
    if (QMdiSubWindow* sub = SubWindowOf(&Child); sub != nullptr && ActiveMDIChild() != &Child) {
        MdiArea->setActiveSubWindow(sub);
    }
}

void TMainForm::FileMenuClick(int Tag) {
    TListOpenedFiles& files = MainSettings->OpenedFiles;
    if (Tag < 0 || Tag >= files.GetCount()) {
        return;
    }
    const QString name = files.Get(Tag);
    // Only a file that is gone leaves the list; one the system will not let
    // us look at is opened, so that the user is told why it cannot be read.
    if (PresenceOf(name).State != TPresence::Absent) {
        FileOpenFML(name);
        return;
    }
    // The other entries' positions change with the removal, so the menu is
    // rebuilt at once.
    files.Delete(Tag);
    FileNameToMenuRefresh();
}

void TMainForm::mSaveClick() {
    if (TMDIChild* child = ActiveMDIChild()) {
        SaveChart(*child);
    }
}

void TMainForm::mSaveAsClick() {
    if (TMDIChild* child = ActiveMDIChild()) {
        SaveChartAs(*child);
    }
}

bool TMainForm::SaveChart(TMDIChild& Child) {
    Activate(Child);
    Child.CommitEdit();
    TChartFileState& file = Child.ShownFile();
    if (!file.Known()) {
        return SaveChartAs(Child);
    }
    const TSaveTarget target = SaveTargetOf(Child.Caption());
    const QString question = SaveQuestion(file, target);
    if (!question.isEmpty() && !Prompts().AskYesNo(question)) {
        return false;
    }
    if (!SaveAsAbstract(Child.Caption())) {
        return false;
    }
    file.Written(target.Name, target.Form);
    Child.MarkUnchanged();
    Child.History.Restart(*Child.Chart);
    UpdateHistoryButtons();
    return true;
}

bool TMainForm::SaveChartAs(TMDIChild& Child) {
    Activate(Child);
    Child.CommitEdit();
    TFileDialogRequest request;
    request.Title = MenuText("sm_menu_saveAs");
    request.Filter = ChartFilter();
    request.InitialDir = SaveDialogPrevious.isEmpty() ? MainSettings->WorkDirectory
                                                      : DirectoryOf(SaveDialogPrevious);
    request.FileName =
        RemoveExtensions(ServText("sm_default_file") + u'_' + QString::number(Child.ChartNumber));
    const TFileDialogResult answer = Prompts().SaveFileDialog(request);
    if (!answer.Accepted()) {
        return false;
    }
    SaveDialogPrevious = answer.FileName;
    const QString name = ChartFileName(answer.FileName, ServText("sm_default_xml"));
    if (!MayReplace({name})) {
        return false;
    }
    if (!SaveAsAbstract(name)) {
        return false;
    }
    Child.SetCaption(name);
    Child.ShownFile().Written(name, TChartForm::Xml);
    Child.MarkUnchanged();
    Child.History.Restart(*Child.Chart);
    UpdateHistoryButtons();
    return true;
}

bool TMainForm::SaveAsAbstract(const QString& FileName) {
    TMDIChild* child = ActiveMDIChild();
    if (child == nullptr) {
        return false;
    }
    const TSaveTarget target = SaveTargetOf(FileName);
    try {
        if (target.Form == TChartForm::Xml) {
            SaveToXML(*child->Chart, target.Name);
            return true;
        }
        if (target.Form == TChartForm::Annotated) {
            TCodeExporter exporter(*MainSettings, *child->Chart, child->CodeBuffer1,
                                   child->CodeBuffer2);
            const TExportResult result = exporter.SaveAnnotatedText(target.Name);
            if (result.Status == TExportResult::Failed) {
                Prompts().ShowMessage(result.Error);
                return false;
            }
            return true;
        }
        return SaveTVXfile(target.Name);
    } catch (const std::exception& e) {
        Prompts().ShowMessage(QString::fromUtf8(e.what()));
        return false;
    }
}

bool TMainForm::SaveTVXfile(const QString& FileName) {
    TMDIChild* child = ActiveMDIChild();
    if (child == nullptr) {
        return false;
    }
    const QString error = WriteLegacyChart(*child->Chart, FileName);
    if (!error.isEmpty()) {
        Prompts().ShowMessage(FileName + QStringLiteral(": ") + error);
        return false;
    }
    return true;
}

TMDIChild* TMainForm::ReadTVXtoMDI(const QString& FileName) {
    if (!QFile::exists(FileName)) {
        return nullptr;
    }
    const TFileIdentity identity = FileIdentityOf(FileName);
    auto chart = std::make_unique<TFCList>();
    const QString error = ReadLegacyChart(FileName, *chart);
    if (!error.isEmpty()) {
        Prompts().ShowMessage(FileName + u'\n' + LoadFailedMessage + u'\n' + error);
        return nullptr;
    }
    TMDIChild* child = CreateMDIChild(FileName);
    child->SetOwnChart(std::move(chart));
    MakeAction();
    child->ShownFile().Read(FileName, TChartForm::Legacy, identity);
    child->MarkUnchanged();
    child->RePaintChem();
    return child;
}

void TMainForm::FileNameToMenu(const QString& FileName) {
    MainSettings->OpenedFiles.Add(FileName);
    FileNameToMenuRefresh();
}

void TMainForm::FileNameToMenuRefresh() {
    RebuildRecentFiles(*File1, MainSettings->OpenedFiles, [this](int Tag) { FileMenuClick(Tag); });
}

} // namespace tvx
