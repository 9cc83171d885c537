// Chart documents: new charts, opening and saving chart files in their three
// formats, and the recent-files entries of the File menu.
#include "app/chart_collection.h"
#include "app/chart_file_names.h"
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
#include "platform/file_presence.h"
#include "platform/prompts.h"
#include "platform/regular_file.h"
#include "settings/main_settings.h"
#include "settings/read_refusal.h"

#include <QFile>
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
        const QString name = ProgramDir + ServText("sm_default_file") + u'_' +
                             QString::number(MDIChildCount() + 1) + ServText("sm_default_xml");
        child = CreateMDIChild(name);
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
    child->RePaintChem();
    return child;
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
    child->RePaintChem();
    return true;
}

void TMainForm::FileMenuClick(int Tag) {
    TListOpenedFiles& files = MainSettings->OpenedFiles;
    if (Tag < 0 || Tag >= files.GetCount()) {
        return;
    }
    const QString name = files.Get(Tag);
    if (QFile::exists(name)) {
        FileOpenFML(name);
        return;
    }
    // The other entries' positions change with the removal, so the menu is
    // rebuilt at once.
    files.Delete(Tag);
    FileNameToMenuRefresh();
}

void TMainForm::mSaveClick() {
    TMDIChild* child = ActiveMDIChild();
    if (child == nullptr) {
        return;
    }
    if (SaveAsAbstract(child->Caption())) {
        child->History.Restart(*child->Chart);
        UpdateHistoryButtons();
    }
}

void TMainForm::mSaveAsClick() {
    TMDIChild* child = ActiveMDIChild();
    if (child == nullptr) {
        return;
    }
    TFileDialogRequest request;
    request.Title = MenuText("sm_menu_saveAs");
    request.Filter = ChartFilter();
    request.InitialDir = SaveDialogPrevious.isEmpty() ? MainSettings->WorkDirectory
                                                      : DirectoryOf(SaveDialogPrevious);
    request.FileName =
        RemoveExtensions(ServText("sm_default_file") + u'_' + QString::number(child->ChartNumber));
    const TFileDialogResult answer = Prompts().SaveFileDialog(request);
    if (!answer.Accepted()) {
        return;
    }
    SaveDialogPrevious = answer.FileName;
    const QString name = ChartFileName(answer.FileName, ServText("sm_default_xml"));
    const TFilePresence presence = PresenceOf(name);
    if (presence.State == TPresence::Refused) {
        Prompts().ShowMessage(name + QStringLiteral(": ") + presence.Reason);
        return;
    }
    if (presence.State == TPresence::Present && !AskReplace(name)) {
        return;
    }
    if (!SaveAsAbstract(name)) {
        return;
    }
    child->SetCaption(name);
    child->History.Restart(*child->Chart);
    UpdateHistoryButtons();
}

bool TMainForm::SaveAsAbstract(const QString& FileName) {
    TMDIChild* child = ActiveMDIChild();
    if (child == nullptr) {
        return false;
    }
    const QString ext = ExtensionOf(FileName);
    try {
        if (ext.compare(ServText("sm_default_xml"), Qt::CaseInsensitive) == 0) {
            SaveToXML(*child->Chart, FileName);
            return true;
        }
        if (ext.compare(ServText("sm_default_new"), Qt::CaseInsensitive) == 0) {
            TCodeExporter exporter(*MainSettings, *child->Chart, child->CodeBuffer1,
                                   child->CodeBuffer2);
            const TExportResult result = exporter.SaveAnnotatedText(FileName);
            if (result.Status == TExportResult::Failed) {
                Prompts().ShowMessage(result.Error);
                return false;
            }
            return true;
        }
        return SaveTVXfile(ChangeExtension(FileName, ServText("sm_default_ext")));
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
    auto chart = std::make_unique<TFCList>();
    const QString error = ReadLegacyChart(FileName, *chart);
    if (!error.isEmpty()) {
        Prompts().ShowMessage(FileName + u'\n' + LoadFailedMessage + u'\n' + error);
        return nullptr;
    }
    TMDIChild* child = CreateMDIChild(FileName);
    child->SetOwnChart(std::move(chart));
    MakeAction();
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
