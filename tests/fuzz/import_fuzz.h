#pragma once
// What the Pascal and C import targets share: any text is imported or
// refused with a reason, never crashing, hanging or growing without bound.
#include "fuzz_input.h"
#include "import/import_driver.h"

namespace tvx::fuzz {

inline int ImportText(const std::uint8_t* Data, std::size_t Size, TSourceLanguage Language,
                      const char* Grammar) {
    // Through a file, so that the text is decoded as a source file is.
    const QString name = ScratchDir().path() + QStringLiteral("/source.txt");
    WriteFile(name, Bytes(Data, Size));
    TTVXParseChartes import(Language);
    import.GrammarFile = QStringLiteral(TVX_GRAMMAR_DIR) + QString::fromLatin1(Grammar);
    import.LoadFromFile(name);
    TErrorReport report;
    if (!import.Parse(report)) {
        Expect(!report.Message.isEmpty(), "a refused source says why");
        Expect(report.Line == -1 || (report.Line >= 1 && report.Line <= import.Lines.size() + 1),
               "the error line lies in the source");
    }
    return 0;
}

} // namespace tvx::fuzz
