#pragma once
// The file-writing side of the export commands and of the annotated save,
// without any window: the commands' dialogs and message boxes stay with the
// main window, which hands over the chosen name and a way to ask the user.
//
// Each operation empties the two code buffers of the chart window, runs the
// code generator over the chart's root into them and writes one buffer to the
// file, replacing it as a whole. A file that cannot be written is reported in
// the result; ExportMode is back to emPlain however the operation ends.
#include <QString>
#include <QStringList>
#include <functional>

namespace tvx {

class TFCList;
class TMainSettings;

// Asked before an existing file is replaced; true for Yes. Gets the whole
// question text. An empty function counts as No.
using TAskReplace = std::function<bool(const QString& Question)>;

struct TExportResult {
    enum TStatus {
        Written,  // the file holds the new text
        Declined, // the file existed and the user chose not to replace it
        Failed,   // the file could not be written; Error says which and why
    };
    TStatus Status = Written;
    QString FileName; // the file written or meant to be written
    QString Error;
};

class TCodeExporter {
public:
    // All four must outlive the exporter. The buffers are the chart window's
    // CodeBuffer1 and CodeBuffer2.
    TCodeExporter(const TMainSettings& Settings, TFCList& Chart, QStringList& CodeBuffer1,
                  QStringList& CodeBuffer2);

    // Pascal export: every extension of ChosenName is removed and the Serv
    // text "sm_default_pas" appended. ExportLanguage becomes elPascal and stays
    // so. The buffers receive the Pascal text even when the user declines to
    // replace an existing file; CodeBuffer2 is what is written.
    TExportResult ExportPascal(const QString& ChosenName, const TAskReplace& AskReplace);

    // C++ export: the Serv text "sm_default_cpp" is appended only when
    // ChosenName has no extension. ExportLanguage becomes elCpp and stays so.
    // The file is written fresh, after asking when it exists. CodeBuffer2 is
    // what is written; the caller adds it to the code pane.
    TExportResult ExportCpp(const QString& ChosenName, const TAskReplace& AskReplace);

    // Annotated Pascal chart text: the sign line "sm_default_sign", then the
    // Pascal text of the chart in emAnnotated with clean-up off, written from
    // CodeBuffer1 to FileName, replacing it without asking. ExportLanguage and
    // the clean-up switch are as they were afterwards.
    TExportResult SaveAnnotatedText(const QString& FileName);

    // The overwrite question: Menu "sm_mes_file_exist1" + " " + FileName +
    // CR LF + "sm_mes_file_exist2".
    QString FileExistsQuestion(const QString& FileName) const;

    // The name the Pascal export writes for a name chosen in its dialog.
    QString PascalFileName(const QString& ChosenName) const;
    // The name the C++ export writes for a name chosen in its dialog.
    QString CppFileName(const QString& ChosenName) const;

private:
    void ClearBuffers();
    // Runs the generator over the chart's root (an empty chart writes
    // nothing) with no file name, so the lines go to the buffers only.
    void GenerateIntoBuffers();
    TExportResult WriteAsked(const QStringList& Lines, const QString& FileName,
                             const TAskReplace& AskReplace) const;

    const TMainSettings& Settings;
    TFCList& Chart;
    QStringList& CodeBuffer1;
    QStringList& CodeBuffer2;
};

} // namespace tvx
