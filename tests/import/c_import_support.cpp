#include "c_import_support.h"
#include "platform/recording_prompts.h"

namespace tvx::test {

namespace {

TCImport Run(TTVXParseChartes& Import) {
    TCImport result;
    result.Ok = Import.Parse(result.Report);
    result.Charts = Import.TakeCharts();
    if (result.Ok) {
        result.Tally = TallyStatements(Import, CountBlocks(result.Charts));
    }
    return result;
}

} // namespace

QString CGrammarFile() {
    return QStringLiteral(TVX_GRAMMAR_DIR "ImportCPP.dll");
}

QStringList TCImport::Captions() const {
    QStringList captions;
    for (const auto& chart : Charts) {
        captions << chart->Caption;
    }
    return captions;
}

QString TCImport::Outline(int I) const {
    return I >= 0 && size_t(I) < Charts.size() ? test::Outline(*Charts[size_t(I)])
                                               : QStringLiteral("no chart");
}

TCImport ImportC(const QString& Text) {
    TRecordingPromptsScope prompts;
    TTVXParseChartes import(slCpp);
    import.GrammarFile = CGrammarFile();
    import.LoadFromText(Text);
    return Run(import);
}

TCImport ImportCCorpus(const QString& Name) {
    TRecordingPromptsScope prompts;
    TTVXParseChartes import(slCpp);
    import.GrammarFile = CGrammarFile();
    import.LoadFromFile(QStringLiteral(TVX_IMPORT_CORPUS_DIR "c/") + Name);
    return Run(import);
}

} // namespace tvx::test
