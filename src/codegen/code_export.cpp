#include "codegen/code_export.h"

#include "chart/fc_list.h"
#include "codegen/code_generator.h"
#include "codegen/code_sink.h"
#include "codegen/export_state.h"
#include "codegen/file_names.h"
#include "codegen/text_file.h"
#include "platform/file_identity.h"
#include "settings/main_settings.h"

namespace tvx {
namespace {

// Puts ExportMode back to emPlain when an operation ends, also by an exception.
class TPlainModeOnExit {
public:
    TPlainModeOnExit() = default;
    ~TPlainModeOnExit() { ExportMode = emPlain; }
    TPlainModeOnExit(const TPlainModeOnExit&) = delete;
    TPlainModeOnExit& operator=(const TPlainModeOnExit&) = delete;
};

// Keeps the language and the clean-up switch of the user while the annotated
// text is written in Pascal without clean-up.
class TKeepLanguageAndCleanUp {
public:
    TKeepLanguageAndCleanUp() : Language(ExportLanguage), CleanUp(TextCleanUp) {}
    ~TKeepLanguageAndCleanUp() {
        ExportLanguage = Language;
        TextCleanUp = CleanUp;
    }
    TKeepLanguageAndCleanUp(const TKeepLanguageAndCleanUp&) = delete;
    TKeepLanguageAndCleanUp& operator=(const TKeepLanguageAndCleanUp&) = delete;

private:
    std::int32_t Language;
    bool CleanUp;
};

TExportResult ResultOf(const QString& FileName, const QString& Error) {
    TExportResult r;
    r.FileName = FileName;
    if (!Error.isEmpty()) {
        r.Status = TExportResult::Failed;
        r.Error = Error;
    }
    return r;
}

} // namespace

TCodeExporter::TCodeExporter(const TMainSettings& Settings, TFCList& Chart,
                             QStringList& CodeBuffer1, QStringList& CodeBuffer2)
    : Settings(Settings), Chart(Chart), CodeBuffer1(CodeBuffer1), CodeBuffer2(CodeBuffer2) {}

TExportResult TCodeExporter::ExportPascal(const QString& ChosenName,
                                          const TAskReplace& AskReplace) {
    const QString fileName = PascalFileName(ChosenName);
    TPlainModeOnExit plainAfterwards;
    ExportLanguage = elPascal;
    ExportMode = emPreview;
    ClearBuffers();
    GenerateIntoBuffers();
    return WriteAsked(CodeBuffer2, fileName, AskReplace);
}

TExportResult TCodeExporter::ExportCpp(const QString& ChosenName, const TAskReplace& AskReplace) {
    const QString fileName = CppFileName(ChosenName);
    TPlainModeOnExit plainAfterwards;
    ExportLanguage = elCpp;
    ExportMode = emPlain;
    ClearBuffers();
    GenerateIntoBuffers();
    return WriteAsked(CodeBuffer2, fileName, AskReplace);
}

TExportResult TCodeExporter::SaveAnnotatedText(const QString& FileName) {
    TKeepLanguageAndCleanUp restoreAfterwards;
    TPlainModeOnExit plainAfterwards;
    ExportLanguage = elPascal;
    TextCleanUp = false;
    ClearBuffers();
    CodeBuffer1.append(Settings.ServPool->GetString(QStringLiteral("sm_default_sign")));
    ExportMode = emAnnotated;
    GenerateIntoBuffers();
    ExportMode = emPlain;
    return ResultOf(FileName, WriteLinesToFile(CodeBuffer1, FileName));
}

QString TCodeExporter::FileExistsQuestion(const QString& FileName) const {
    return Settings.MenuPool->GetString(QStringLiteral("sm_mes_file_exist1")) + " " + FileName +
           "\r\n" + Settings.MenuPool->GetString(QStringLiteral("sm_mes_file_exist2"));
}

QString TCodeExporter::PascalFileName(const QString& ChosenName) const {
    return RemoveExtensions(ChosenName) +
           Settings.ServPool->GetString(QStringLiteral("sm_default_pas"));
}

QString TCodeExporter::CppFileName(const QString& ChosenName) const {
    if (HasExtension(ChosenName)) {
        return ChosenName;
    }
    return ChosenName + Settings.ServPool->GetString(QStringLiteral("sm_default_cpp"));
}

void TCodeExporter::ClearBuffers() {
    CodeBuffer1.clear();
    CodeBuffer2.clear();
}

void TCodeExporter::GenerateIntoBuffers() {
    if (Chart.Count() == 0) {
        return;
    }
    TCodeSink sink(CodeBuffer1, CodeBuffer2);
    TCodeGenerator(sink, Settings).SavePartToFile(Chart.First());
}

TExportResult TCodeExporter::WriteAsked(const QStringList& Lines, const QString& FileName,
                                        const TAskReplace& AskReplace) const {
    const TFilePresence presence = PresenceOf(FileName);
    if (presence.State == TPresence::Refused) {
        return ResultOf(FileName, presence.Reason);
    }
    if (presence.State == TPresence::Present &&
        !(AskReplace && AskReplace(FileExistsQuestion(FileName)))) {
        TExportResult r;
        r.Status = TExportResult::Declined;
        r.FileName = FileName;
        return r;
    }
    return ResultOf(FileName, WriteLinesToFile(Lines, FileName));
}

} // namespace tvx
