// Export of the active chart as Pascal or C++ source text.
#include "app/chart_file_names.h"
#include "app/interface_texts.h"
#include "app/main_form.h"
#include "app/mdi_child.h"
#include "codegen/code_export.h"
#include "codegen/file_names.h"
#include "platform/prompts.h"
#include "settings/main_settings.h"

#include <QPlainTextEdit>

namespace tvx {
namespace {

bool Confirm(const QString& Question) {
    return Prompts().AskYesNo(Question);
}

void ReportFailure(const TExportResult& Result) {
    if (Result.Status == TExportResult::Failed) {
        Prompts().ShowMessage(Result.Error); // it names the file
    }
}

} // namespace

void TMainForm::pas1Click() {
    TMDIChild* child = ActiveMDIChild();
    if (child == nullptr) {
        return;
    }
    child->CommitEdit();
    TFileDialogRequest request;
    request.Filter = QString::fromUtf8("Файлы программ (*.PAS)|*.pas");
    request.FileName = RemoveExtensions(child->Caption());
    request.Title = MenuText("sm_menu_savePAS");
    const TFileDialogResult answer = Prompts().SaveFileDialog(request);
    if (!answer.Accepted()) {
        return;
    }
    SaveDialogPrevious = answer.FileName;
    TCodeExporter exporter(*MainSettings, *child->Chart, child->CodeBuffer1, child->CodeBuffer2);
    ReportFailure(exporter.ExportPascal(answer.FileName, Confirm));
}

void TMainForm::mnExportToCodeClick() {
    pas1Click();
}

void TMainForm::C1Click() {
    TMDIChild* child = ActiveMDIChild();
    if (child == nullptr) {
        return;
    }
    child->CommitEdit();
    TFileDialogRequest request;
    request.Filter = QString::fromUtf8("Файлы программ (*.CPP)|*.cpp");
    request.InitialDir = ProgramDir;
    const QString proposed = RemoveExtensions(child->Caption());
    request.FileName = proposed.mid(DirectoryOf(proposed).size());
    request.Title = MenuText("sm_menu_saveCPP");
    const TFileDialogResult answer = Prompts().SaveFileDialog(request);
    if (!answer.Accepted()) {
        return;
    }
    SaveDialogPrevious = answer.FileName;
    TCodeExporter exporter(*MainSettings, *child->Chart, child->CodeBuffer1, child->CodeBuffer2);
    const TExportResult result = exporter.ExportCpp(answer.FileName, Confirm);
    ReportFailure(result);
    child->reCode->appendPlainText(child->CodeBuffer2.join(u'\n'));
}

} // namespace tvx
