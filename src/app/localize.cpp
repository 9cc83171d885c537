#include "app/localize.h"

#include "app/main_form.h"
#include "settings/string_pool.h"

#include <QAction>
#include <QCheckBox>
#include <QMenu>
#include <QPushButton>

namespace tvx {
namespace {

class TLocalizer {
public:
    explicit TLocalizer(const TStringPool& Menu) : Menu(Menu) {}

    QString Text(const char* Id) const { return Menu.GetString(QString::fromLatin1(Id)); }

    void Caption(QAction* Item, const char* Id) const { Item->setText(Text(Id)); }
    void Caption(QMenu* Item, const char* Id) const { Item->setTitle(Text(Id)); }
    // A hint is the tool tip and the status-bar text of a button.
    void Hint(QAction* Button, const QString& Text) const {
        Button->setToolTip(Text);
        Button->setStatusTip(Text);
    }
    void Hint(QAction* Button, const char* Id) const { Hint(Button, Text(Id)); }

private:
    const TStringPool& Menu;
};

} // namespace

const char* const LanguageItemCaptions[5] = {"English", "Russian", "Ukraine", "German",
                                             "Hungarian"};

void LocalizeMainForm(TMainForm& F, const TStringPool& Menu) {
    const TLocalizer L(Menu);

    L.Caption(F.File1, "sm_menu_file");
    L.Caption(F.FileNewItem, "sm_menu_new");
    L.Caption(F.FileOpenItem, "sm_menu_open");
    L.Caption(F.mSaveAs, "sm_menu_saveAs");
    L.Caption(F.mSave, "sm_menu_save");
    L.Caption(F.FileExitItem, "sm_menu_Exit");
    L.Hint(F.SpeedButton7, "sm_menu_Import");
    L.Caption(F.mnImport, "sm_menu_Import");
    L.Caption(F.fromfile1, "sm_menu_ImportFrom");
    L.Caption(F.mnDelphi, "sm_menu_ImportPAS");
    L.Caption(F.mnCpp, "sm_menu_ImportCPP");
    L.Caption(F.mnExport, "sm_menu_Export");
    L.Caption(F.mnExportToImage, "sm_menu_ExportImage");
    L.Caption(F.mnExportToCode, "sm_menu_ExportCode");
    L.Caption(F.mnExportToCpp, "sm_menu_saveCPP");

    L.Caption(F.N6, "sm_menu_view");
    L.Caption(F.N7, "sm_menu_refresh");
    L.Caption(F.N16, "sm_menu_zoomin");
    L.Caption(F.N17, "sm_menu_zoomout");
    L.Hint(F.SpeedButton2, F.N16->text());
    L.Hint(F.SpeedButton11, F.N16->text());
    L.Hint(F.SpeedButton1, F.N17->text());
    L.Hint(F.SpeedButton4, F.N7->text());

    L.Caption(F.Edit1, "sm_menu_Edit");
    L.Caption(F.N9, "sm_menu_undo");
    L.Caption(F.N10, "sm_menu_redo");
    L.Hint(F.SpeedButton6, F.N9->text());
    L.Hint(F.SpeedButton5, F.N10->text());

    L.Caption(F.N3, "sm_menu_option");
    L.Caption(F.N8, "sm_menu_Custome");
    L.Hint(F.SpeedButton3, F.N8->text());
    L.Caption(F.nLSelect, "sm_menu_Lang");

    L.Caption(F.N4, "sm_menu_Help");
    L.Caption(F.Help1, "sm_menu_Help");
    L.Caption(F.HelpAboutItem, "sm_menu_About");
    L.Hint(F.SpeedButton13, "sm_menu_Help");
    F.cbPreview->setText(L.Text("sm_panel_preview"));

    L.Hint(F.ToolButton9, "sm_menu_new");
    L.Hint(F.ToolButton1, "sm_menu_open");
    L.Hint(F.sbSaveAs, "sm_menu_saveAs");
    L.Hint(F.sbSave, "sm_menu_save");
    L.Hint(F.sbProcess, "sm_panel_proc");
    L.Hint(F.sbCall, "sm_panel_call");
    L.Hint(F.sbOuput, "sm_panel_input");
    L.Hint(F.sbWriteln, "sm_panel_writeln");
    L.Hint(F.sbIfelse, "sm_panel_ifelse");
    L.Hint(F.sbForto, "sm_panel_forto");
    L.Hint(F.sbWhile, "sm_panel_while");
    L.Hint(F.sbRepeat, "sm_panel_repeat");
    L.Hint(F.sbAdd, "sm_panel_add");
    L.Hint(F.sbDel, "sm_panel_del");
    L.Hint(F.sbEditing, "sm_panel_edit");
    L.Hint(F.sbHand, "sm_panel_hand");
    L.Hint(F.sbZero, "sm_panel_zero");
    F.Button1->setText(L.Text("sm_panel_close"));

    L.Caption(F.Window1, "sm_menu_win");
    L.Caption(F.WindowCascadeItem, "sm_menu_cascade");
    L.Caption(F.WindowTileItem, "sm_menu_Horizon");
    L.Caption(F.WindowTileItem2, "sm_menu_Vertac");
    L.Caption(F.WindowMinimizeItem, "sm_menu_Minim");
    L.Caption(F.WindowArrangeItem, "sm_menu_Maxim");
}

} // namespace tvx
