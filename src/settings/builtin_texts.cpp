#include "settings/builtin_texts.h"
#include "settings/main_settings.h"

namespace tvx {

// Service values and chart labels. Only the labels and default names are
// stored in "Config.ini"; file names, extensions and the signature line are
// fixed.
void FillServDefaults(TStringPool& Pool) {
    Pool.AddEx(QStringLiteral("sm_default_name"), QStringLiteral("Block"), true);
    Pool.AddEx(QStringLiteral("sm_default_file"), QStringLiteral("New_FlowChart"), true);
    Pool.AddEx(QStringLiteral("sm_default_prog"), QStringLiteral("Example"), true);
    Pool.AddEx(QStringLiteral("sm_tabsym"), QStringLiteral("  "), false);
    Pool.AddEx(QStringLiteral("sm_default_ext"), QStringLiteral(".tvx"), false);
    Pool.AddEx(QStringLiteral("sm_default_new"), QStringLiteral(".fc2"), false);
    Pool.AddEx(QStringLiteral("sm_default_xml"), QStringLiteral(".fml"), false);
    Pool.AddEx(QStringLiteral("sm_default_pas"), QStringLiteral(".pas"), false);
    Pool.AddEx(QStringLiteral("sm_default_cpp"), QStringLiteral(".cpp"), false);
    Pool.AddEx(QStringLiteral("sm_default_tmp"), QStringLiteral(".tce"), false);
    Pool.AddEx(QStringLiteral("sm_default_bmp"), QStringLiteral(".bmp"), false);
    Pool.AddEx(QStringLiteral("sm_default_gif"), QStringLiteral(".gif"), false);
    Pool.AddEx(QStringLiteral("sm_default_sign"), QStringLiteral("{saved by Tarvinex}"), false);
    Pool.AddEx(QStringLiteral("sm_sign_str"), QStringLiteral("\x01\x02\x03\x04\x05"), false);
    Pool.AddEx(QStringLiteral("sm_start"), QStringLiteral("Начало"), true);
    Pool.AddEx(QStringLiteral("sm_finish"), QStringLiteral("Конец"), true);
    Pool.AddEx(QStringLiteral("sm_yes"), QStringLiteral("Да"), true);
    Pool.AddEx(QStringLiteral("sm_no"), QStringLiteral("Нет"), true);
    Pool.AddEx(QStringLiteral("sm_defaultName"), QStringLiteral("блок"), true);
    Pool.AddEx(QStringLiteral("sm_option"), QStringLiteral("Настройки"), true);
    Pool.AddEx(QStringLiteral("sm_nameINI"), QStringLiteral("Config.ini"), false);
    Pool.AddEx(QStringLiteral("sm_namebas"), QStringLiteral("base.db"), false);
    Pool.AddEx(QStringLiteral("sm_pathbas"), QString(), false);
    Pool.AddEx(QStringLiteral("sm_tmpHTML"), QStringLiteral("tmp.html"), false);
    Pool.AddEx(QStringLiteral("sm_langENG"), QStringLiteral("english.lng"), false);
    Pool.AddEx(QStringLiteral("sm_langRUS"), QStringLiteral("russian.lng"), false);
    Pool.AddEx(QStringLiteral("sm_langGER"), QStringLiteral("german.lng"), false);
    Pool.AddEx(QStringLiteral("sm_langUKR"), QStringLiteral("ukraine.lng"), false);
    Pool.AddEx(QStringLiteral("sm_langHUN"), QStringLiteral("hungrain.lng"), false);
    Pool.AddEx(QStringLiteral("sm_langPAS"), QStringLiteral("pascal"), false);
    Pool.AddEx(QStringLiteral("sm_langCPP"), QStringLiteral("cplusplus"), false);
    Pool.AddEx(QStringLiteral("sm_langBAS"), QStringLiteral("basic"), false);
}

// The English interface texts; a language file replaces them.
void FillMenuDefaults(TStringPool& Pool) {
    Pool.Add(QStringLiteral("sm_menu_file"), QStringLiteral("File"));
    Pool.Add(QStringLiteral("sm_menu_new"), QStringLiteral("New"));
    Pool.Add(QStringLiteral("sm_menu_open"), QStringLiteral("Open"));
    Pool.Add(QStringLiteral("sm_menu_saveAs"), QStringLiteral("Save as ..."));
    Pool.Add(QStringLiteral("sm_menu_save"), QStringLiteral("Save"));
    Pool.Add(QStringLiteral("sm_menu_saveTVX"), QStringLiteral("Save to TVX"));
    Pool.Add(QStringLiteral("sm_menu_savePAS"), QStringLiteral("Save to PAS"));
    Pool.Add(QStringLiteral("sm_menu_saveCPP"), QStringLiteral("Save to CPP"));
    Pool.Add(QStringLiteral("sm_menu_saveBMP"), QStringLiteral("Save to BMP"));
    Pool.Add(QStringLiteral("sm_menu_Import"), QStringLiteral("Import"));
    Pool.Add(QStringLiteral("sm_menu_ImportFrom"), QStringLiteral("File ..."));
    Pool.Add(QStringLiteral("sm_menu_ImportPAS"), QStringLiteral("PASCAL"));
    Pool.Add(QStringLiteral("sm_menu_ImportCPP"), QStringLiteral("CPP"));
    Pool.Add(QStringLiteral("sm_menu_ImportCLP"), QStringLiteral("Import Clipboard"));
    Pool.Add(QStringLiteral("sm_menu_Export"), QStringLiteral("Export"));
    Pool.Add(QStringLiteral("sm_menu_ExportImage"), QStringLiteral("Export to image  ..."));
    Pool.Add(QStringLiteral("sm_menu_ExportCode"), QStringLiteral("Export to code  ..."));
    Pool.Add(QStringLiteral("sm_menu_Exit"), QStringLiteral("Exit"));
    Pool.Add(QStringLiteral("sm_menu_view"), QStringLiteral("View"));
    Pool.Add(QStringLiteral("sm_menu_refresh"), QStringLiteral("Refresh"));
    Pool.Add(QStringLiteral("sm_menu_zoomin"), QStringLiteral("Zoom in"));
    Pool.Add(QStringLiteral("sm_menu_zoomout"), QStringLiteral("Zoom out"));
    Pool.Add(QStringLiteral("sm_menu_Edit"), QStringLiteral("Edit"));
    Pool.Add(QStringLiteral("sm_menu_undo"), QStringLiteral("Undo"));
    Pool.Add(QStringLiteral("sm_menu_redo"), QStringLiteral("Redo"));
    Pool.Add(QStringLiteral("sm_menu_auto"), QStringLiteral("AutoNumering"));
    Pool.Add(QStringLiteral("sm_menu_autoRef"), QStringLiteral("AutoRefresh"));
    Pool.Add(QStringLiteral("sm_menu_simple"), QStringLiteral("Simplify FlowCharter"));
    Pool.Add(QStringLiteral("sm_menu_option"), QStringLiteral("Options"));
    Pool.Add(QStringLiteral("sm_menu_Custome"), QStringLiteral("Customize"));
    Pool.Add(QStringLiteral("sm_menu_Lang"), QStringLiteral("Language"));
    Pool.Add(QStringLiteral("sm_menu_win"), QStringLiteral("Windows"));
    Pool.Add(QStringLiteral("sm_menu_cascade"), QStringLiteral("Cascade"));
    Pool.Add(QStringLiteral("sm_menu_Horizon"), QStringLiteral("Horizontale"));
    Pool.Add(QStringLiteral("sm_menu_Vertac"), QStringLiteral("Verticale"));
    Pool.Add(QStringLiteral("sm_menu_Minim"), QStringLiteral("Minimaze"));
    Pool.Add(QStringLiteral("sm_menu_Maxim"), QStringLiteral("Maximaze"));
    Pool.Add(QStringLiteral("sm_menu_Help"), QStringLiteral("Help"));
    Pool.Add(QStringLiteral("sm_menu_About"), QStringLiteral("About"));
    Pool.Add(QStringLiteral("sm_mes_file_exist1"), QStringLiteral("File "));
    Pool.Add(QStringLiteral("sm_mes_file_exist2"), QStringLiteral("Now exist! ReSave it?"));
    // Before Save writes over a file it did not read or write last, or in a
    // form the editor does not open: %1 stands for a file name.
    Pool.Add(QStringLiteral("sm_mes_save_other"),
             QStringLiteral("The chart was read from or last saved to another file: %1."));
    Pool.Add(QStringLiteral("sm_mes_save_changed"),
             QStringLiteral("%1 was changed, replaced or removed on disk since the editor read "
                            "or saved it."));
    Pool.Add(QStringLiteral("sm_mes_save_legacy"),
             QStringLiteral("Save writes the chart in the old record form (.tvx), which the "
                            "editor does not open."));
    Pool.Add(QStringLiteral("sm_mes_save_annotated"),
             QStringLiteral("Save writes the chart as annotated Pascal text (.fc2), which the "
                            "editor does not open."));
    Pool.Add(QStringLiteral("sm_mes_save_ask"), QStringLiteral("Save the chart to %1?"));
    // Before a window with changes no save has written closes; %1 stands for
    // its file name.
    Pool.Add(QStringLiteral("sm_mes_close_changed"),
             QStringLiteral("%1 has changes that are not saved. Save them?"));
    // %1 stands for the temporary directory, %2 for the system's reason.
    Pool.Add(QStringLiteral("sm_mes_no_undo"),
             QStringLiteral("Undo is off: no private folder for the undo history could be made "
                            "in %1 (%2)."));
    Pool.Add(QStringLiteral("sm_mes_no_memory"),
             QStringLiteral("Not enough memory to finish the command. The open charts are as "
                            "they were."));
    // %1 stands for the deepest nesting level a chart may have.
    Pool.Add(QStringLiteral("sm_mes_too_deep"),
             QStringLiteral("The chart would be nested deeper than %1 levels, more than the "
                            "editor allows. Nothing was changed."));
    // %1 stands for the longest text, in megabytes, a chart file may hold in one piece.
    Pool.Add(QStringLiteral("sm_mes_text_too_long"),
             QStringLiteral("A text in the file is longer than %1 MB in one piece, more than "
                            "the editor reads. Nothing was changed."));
    // %1 stands for the largest source, in megabytes, the import reads.
    Pool.Add(QStringLiteral("sm_mes_import_size"),
             QStringLiteral("The source file is larger than %1 MB, more than the import "
                            "reads. Nothing was imported."));
    // After an import that left out code it could not read; %1 stands for
    // a list of names.
    Pool.Add(QStringLiteral("sm_mes_import_notes"),
             QStringLiteral("The charts may lack code the import did not read."));
    Pool.Add(QStringLiteral("sm_mes_import_includes"),
             QStringLiteral("Include files not read: %1."));
    Pool.Add(QStringLiteral("sm_mes_import_undefined"),
             QStringLiteral("Branches holding code were skipped because these names are not "
                            "defined: %1."));
    // The reasons a file is not read; each follows the file's name.
    Pool.Add(QStringLiteral("sm_mes_not_regular"),
             QStringLiteral("It is not a regular file (a folder, pipe or device). The editor "
                            "reads only regular files."));
    // %1 stands for the largest file, in megabytes, read there.
    Pool.Add(QStringLiteral("sm_mes_file_size"),
             QStringLiteral("The file is larger than %1 MB, more than the editor reads here."));
    Pool.Add(QStringLiteral("sm_mes_not_chart"),
             QStringLiteral("It is not a chart file, or the chart in it is broken."));
    Pool.Add(QStringLiteral("sm_mes_legacy_form"),
             QStringLiteral("It holds a chart in the old record form (.tvx), which the editor "
                            "saves but does not open."));
    Pool.Add(QStringLiteral("sm_mes_annotated_form"),
             QStringLiteral("It holds annotated Pascal text (.fc2), which the editor saves but "
                            "does not open."));
    Pool.Add(QStringLiteral("sm_name_element"), QStringLiteral("Element"));
    Pool.Add(QStringLiteral("sm_name_node"), QStringLiteral("Node after Element"));
    Pool.Add(QStringLiteral("sm_name_kind"), QStringLiteral("Type"));
    Pool.Add(QStringLiteral("sm_name_text"), QStringLiteral("Text"));
    Pool.Add(QStringLiteral("sm_name_start"), QStringLiteral("Start"));
    Pool.Add(QStringLiteral("sm_panel_proc"), QStringLiteral("Process"));
    Pool.Add(QStringLiteral("sm_panel_call"), QStringLiteral("Call block"));
    Pool.Add(QStringLiteral("sm_panel_input"), QStringLiteral("Input"));
    Pool.Add(QStringLiteral("sm_panel_writeln"), QStringLiteral("Output (~Writeln)"));
    Pool.Add(QStringLiteral("sm_panel_ifelse"), QStringLiteral("if .. else ..."));
    Pool.Add(QStringLiteral("sm_panel_forto"), QStringLiteral("for .. to ..."));
    Pool.Add(QStringLiteral("sm_panel_while"), QStringLiteral("While ..."));
    Pool.Add(QStringLiteral("sm_panel_repeat"), QStringLiteral("Repeat ... Until ..."));
    Pool.Add(QStringLiteral("sm_panel_add"), QStringLiteral("Adding new symbols"));
    Pool.Add(QStringLiteral("sm_panel_del"), QStringLiteral("Deleting existing symbols"));
    Pool.Add(QStringLiteral("sm_panel_edit"), QStringLiteral("Editing symbols"));
    Pool.Add(QStringLiteral("sm_panel_hand"), QStringLiteral("Move FlowChraters"));
    Pool.Add(QStringLiteral("sm_panel_zero"), QStringLiteral("Move to zero"));
    Pool.Add(QStringLiteral("sm_panel_preview"), QStringLiteral("Preview with changes"));
    Pool.Add(QStringLiteral("sm_panel_close"), QStringLiteral("Close"));
    Pool.Add(QStringLiteral("sm_option_Caption"), QStringLiteral("Customize"));
    Pool.Add(QStringLiteral("sm_option_tab1"), QStringLiteral("Sizes"));
    Pool.Add(QStringLiteral("sm_option_tab4"), QStringLiteral("Text"));
    Pool.Add(QStringLiteral("sm_option_tab2"), QStringLiteral("Import"));
    Pool.Add(QStringLiteral("sm_option_tab5"), QStringLiteral("Standard"));
    Pool.Add(QStringLiteral("sm_option_pxtopx"), QStringLiteral("Pixs to pixs"));
    Pool.Add(QStringLiteral("sm_option_tvxtvx"), QStringLiteral("Element to element"));
    Pool.Add(QStringLiteral("sm_option_tvxtext"), QStringLiteral("Element to text"));
    Pool.Add(QStringLiteral("sm_option_linetext"), QStringLiteral("Line to text"));
    Pool.Add(QStringLiteral("sm_option_lineline"), QStringLiteral("Line to line"));
    Pool.Add(QStringLiteral("sm_option_angle"), QStringLiteral("Angle in ..."));
    Pool.Add(QStringLiteral("sm_option_ainput"), QStringLiteral("In input block"));
    Pool.Add(QStringLiteral("sm_option_aifelse"), QStringLiteral("In if else block"));
    Pool.Add(QStringLiteral("sm_option_aforto"), QStringLiteral("In for. to block"));
    Pool.Add(QStringLiteral("sm_option_conversion"), QStringLiteral("Conversion"));
    Pool.Add(QStringLiteral("sm_option_selactive"), QStringLiteral("Select active"));
    Pool.Add(QStringLiteral("sm_option_adding"), QStringLiteral("Adding"));
    Pool.Add(QStringLiteral("sm_option_delspace"),
             QStringLiteral("Deleting space symbols in string data"));
    Pool.Add(QStringLiteral("sm_option_sertext"), QStringLiteral("Service words"));
    Pool.Add(QStringLiteral("sm_option_begin"), QStringLiteral("Begin"));
    Pool.Add(QStringLiteral("sm_option_end"), QStringLiteral("End"));
    Pool.Add(QStringLiteral("sm_option_yes"), QStringLiteral("Message yes"));
    Pool.Add(QStringLiteral("sm_option_no"), QStringLiteral("Message no"));
    Pool.Add(QStringLiteral("sm_option_fonts"), QStringLiteral("Fonts"));
    Pool.Add(QStringLiteral("sm_option_fblock"), QStringLiteral("Block's"));
    Pool.Add(QStringLiteral("sm_option_fexport"), QStringLiteral("Export text"));
    Pool.Add(QStringLiteral("sm_option_Select"), QStringLiteral("Select"));
    Pool.Add(QStringLiteral("sm_option_Delrw"), QStringLiteral("Delete read(ln) and write(ln)"));
    Pool.Add(QStringLiteral("sm_option_OCRread"),
             QStringLiteral("Recognize read(ln) and write(ln)"));
    Pool.Add(QStringLiteral("sm_option_InAsOut"), QStringLiteral("Output block as Input block"));
    Pool.Add(QStringLiteral("sm_option_Params"), QStringLiteral("Parameters"));
    Pool.Add(QStringLiteral("sm_option_Allbeq"), QStringLiteral("All block equals size"));
    Pool.Add(QStringLiteral("sm_option_W2Heq"),
             QStringLiteral("All equal block relativity (width/height)"));
    Pool.Add(QStringLiteral("sm_option_AsStan"), QStringLiteral("For standard"));
    Pool.Add(QStringLiteral("sm_option_OldFor"), QStringLiteral("Old style of for"));
    Pool.Add(QStringLiteral("sm_option_Shake"), QStringLiteral("Arrow as standard"));
    Pool.Add(QStringLiteral("sm_option_Numers"), QStringLiteral("Numering of block's"));
    Pool.Add(QStringLiteral("sm_option_Default"), QStringLiteral("Default"));
    Pool.Add(QStringLiteral("sm_option_Ok"), QStringLiteral("OK"));
    Pool.Add(QStringLiteral("sm_option_Cancel"), QStringLiteral("Cancel"));
    Pool.Add(QStringLiteral("sm_option_Apply"), QStringLiteral("Apply"));
}

// The words of generated Pascal code.
void FillProgDefaults(TStringPool& Pool) {
    Pool.Add(QStringLiteral("sm_program"), QStringLiteral("program"));
    Pool.Add(QStringLiteral("sm_function"), QStringLiteral("function"));
    Pool.Add(QStringLiteral("sm_procedure"), QStringLiteral("procedure"));
    Pool.Add(QStringLiteral("sm_endop"), QStringLiteral(";"));
    Pool.Add(QStringLiteral("sm_remopen"), QStringLiteral("("));
    Pool.Add(QStringLiteral("sm_remopen1"), QStringLiteral("{"));
    Pool.Add(QStringLiteral("sm_remopen2"), QStringLiteral("(*"));
    Pool.Add(QStringLiteral("sm_remopen3"), QStringLiteral("/*"));
    Pool.Add(QStringLiteral("sm_remclose"), QStringLiteral(")"));
    Pool.Add(QStringLiteral("sm_remclose1"), QStringLiteral("}"));
    Pool.Add(QStringLiteral("sm_remclose2"), QStringLiteral("*)"));
    Pool.Add(QStringLiteral("sm_remclose3"), QStringLiteral("*/"));
    Pool.Add(QStringLiteral("sm_textedge"), QStringLiteral("'"));
    Pool.Add(QStringLiteral("sm_case"), QStringLiteral("case"));
    Pool.Add(QStringLiteral("sm_of"), QStringLiteral("of"));
    Pool.Add(QStringLiteral("sm_if"), QStringLiteral("if"));
    Pool.Add(QStringLiteral("sm_then"), QStringLiteral("then"));
    Pool.Add(QStringLiteral("sm_else"), QStringLiteral("else"));
    Pool.Add(QStringLiteral("sm_while"), QStringLiteral("while"));
    Pool.Add(QStringLiteral("sm_repeat"), QStringLiteral("repeat"));
    Pool.Add(QStringLiteral("sm_until"), QStringLiteral("until"));
    Pool.Add(QStringLiteral("sm_for"), QStringLiteral("for"));
    Pool.Add(QStringLiteral("sm_to"), QStringLiteral("to"));
    Pool.Add(QStringLiteral("sm_do"), QStringLiteral("do"));
    Pool.Add(QStringLiteral("sm_downto"), QStringLiteral("downto"));
    Pool.Add(QStringLiteral("sm_begin"), QStringLiteral("begin"));
    Pool.Add(QStringLiteral("sm_end"), QStringLiteral("end"));
    Pool.Add(QStringLiteral("sm_input"), QStringLiteral("read"));
    Pool.Add(QStringLiteral("sm_output"), QStringLiteral("writeln"));
    Pool.Add(QStringLiteral("sm_writeln"), QStringLiteral("writeln"));
}

QString MenuTextOf(const QString& Id) {
    if (MainSettings != nullptr) {
        return MainSettings->MenuPool->GetString(Id);
    }
    TStringPool builtin(QStringLiteral("Menu"));
    FillMenuDefaults(builtin);
    return builtin.GetString(Id);
}

QString MenuTextWith(const QString& Id, qint64 Number) {
    return MenuTextWith(Id, QString::number(Number));
}

QString MenuTextWith(const QString& Id, const QString& Value) {
    // A language file may leave the value out; the text stands as it is then.
    return MenuTextOf(Id).replace(QStringLiteral("%1"), Value);
}

} // namespace tvx
