// The chart as pictures, one file per page, and the commands of the shared
// block clipboard: saving it as a chart file, pasting it, and two
// maintenance operations.
#include "app/chart_file_names.h"
#include "app/interface_texts.h"
#include "app/main_form.h"
#include "app/mdi_child.h"
#include "app/picture_export.h"
#include "chart/block_clipboard.h"
#include "chart/chart_xml.h"
#include "chart/fc_list.h"
#include "codegen/file_names.h"
#include "platform/bitmap.h"
#include "platform/exception.h"
#include "platform/prompts.h"
#include "settings/main_settings.h"

#include <QFileInfo>
#include <new>

namespace tvx {
namespace {

const char* const PictureFilter = "Файлы рисунков блок схем (*.BMP)|*.bmp|"
                                  "Файлы рисунков блок схем (*.GIF)|*.gif";

QString AbsoluteName(const QString& Name) {
    const QFileInfo info(Name);
    return info.isRelative() ? info.absoluteFilePath() : Name;
}

} // namespace

void TMainForm::BMP1Click() {
    TMDIChild* child = ActiveMDIChild();
    if (child == nullptr || child->Chart == nullptr) {
        return;
    }
    child->CommitEdit();
    TFileDialogRequest request;
    request.Filter = QString::fromUtf8(PictureFilter);
    request.FileName = AbsoluteName(RemoveExtensions(child->Caption()));
    request.Title = MenuText("sm_menu_saveBMP");
    const TFileDialogResult answer = Prompts().SaveFileDialog(request);
    if (!answer.Accepted()) {
        return;
    }
    SaveDialogPrevious = answer.FileName;
    const bool gif = answer.FilterIndex == 2;
    const QString name =
        RemoveExtensions(answer.FileName) + ServText(gif ? "sm_default_gif" : "sm_default_bmp");
    // The chosen name itself is never written, only its page files.
    if (!MayReplace(PagePictureNames(*child->Chart, name))) {
        return;
    }
    TPictureExportResult result;
    try {
        result = ExportPagePictures(*child->Chart, child->ComposedChart(), name,
                                    gif ? TPictureFormat::Gif : TPictureFormat::Bmp);
    } catch (const std::bad_alloc&) {
        result.Error = QStringLiteral("Not enough memory to compose the picture of the chart; "
                                      "no page was written.");
    } catch (const Exception& e) {
        result.Error = e.message();
    }
    if (!result.Error.isEmpty()) {
        Prompts().ShowMessage(result.Error);
    }
}

void TMainForm::mnExportToImageClick() {
    BMP1Click();
}

void TMainForm::N20Click() {
    if (!BlockClipboard) {
        return;
    }
    TMDIChild* child = ActiveMDIChild();
    TFileDialogRequest request;
    request.Title = MenuText("sm_menu_saveAs");
    request.Filter = QString::fromUtf8("Файлы блок схем XML    формат (.fml)|*.fml");
    request.InitialDir = DirectoryOf(SaveDialogPrevious);
    // Without a chart window there is no number to propose.
    request.FileName = ServText("sm_default_file");
    if (child != nullptr) {
        request.FileName += u'_' + QString::number(child->ChartNumber);
    }
    const TFileDialogResult answer = Prompts().SaveFileDialog(request);
    if (!answer.Accepted()) {
        return;
    }
    SaveDialogPrevious = answer.FileName;
    const QString name = RemoveExtensions(answer.FileName) + ServText("sm_default_xml");
    if (!MayReplace({name})) {
        return;
    }
    try {
        SaveToXML(*BlockClipboard, name);
    } catch (const std::exception& e) {
        const auto* own = dynamic_cast<const Exception*>(&e);
        Prompts().ShowMessage(own != nullptr ? own->message() : QString::fromUtf8(e.what()));
    }
}

void TMainForm::Paste1Click() {
    TMDIChild* child = ActiveMDIChild();
    if (child == nullptr || child->Chart == nullptr || !BlockClipboard) {
        return;
    }
    Paste(*child->Chart, BlockClipboard.get(), child->MouseInfo);
    child->MarkChanged();
}

void TMainForm::ClipBoard1Click() {
    try {
        MakeAction();
        if (TMDIChild* child = ActiveMDIChild()) {
            child->PaintChem();
        }
    } catch (const std::exception&) {
        Prompts().ShowMessage(QString::fromUtf8("Во время преобразования произошла ошибка\r\n"
                                                "прочтите справку (пока довольно краткую) и\r\n"
                                                "сообщите пожалуйста об ошибке автору!"));
    }
}

void TMainForm::N2Click() {
    TMDIChild* child = ActiveMDIChild();
    if (child == nullptr || child->Chart == nullptr) {
        return;
    }
    const QString name = ServText("sm_default_name");
    for (TFlowBlock* block : child->Chart->GetList()) {
        block->Text = name + QString::fromUtf8(" №") + QString::number(block->Index);
    }
    child->MarkChanged();
    child->RePaintChem();
    child->PaintChem();
}

} // namespace tvx
