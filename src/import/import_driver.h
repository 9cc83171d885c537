#pragma once
// Imports one Pascal or C source file: runs the parser engine over it with a
// compiled grammar table file and, when the text is accepted, converts the
// parse tree into charts, one TFCList per program, unit, procedure and
// function (Pascal) or per function definition (C). A rejected text leaves
// its message and line in the error report.
//
// One object serves one import:
//     TTVXParseChartes Import(&Settings);
//     Import.GrammarFile = ProgramDir + "ImportPAS.dll";
//     Import.LoadFromFile(SourceName);
//     TErrorReport Report;
//     if (Import.Parse(Report)) { auto Charts = Import.TakeCharts(); ... }
// A second Parse on the same object appends further charts.
#include "import/error_report.h"
#include "import/import_log.h"
#include "import/import_notes.h"
#include "import/tree_converter.h"
#include "platform/exception.h"
#include <QString>
#include <QStringList>
#include <cstdint>
#include <memory>
#include <vector>

namespace tvx {

class TFCList;
class TMainSettings;
class TReduction;

// The source language, as the settings' SourceType holds it.
enum TSourceLanguage : std::uint8_t {
    slPascal = 0, // grammar "ImportPAS"
    slCpp = 1,    // grammar "ImportCPP"
};

// A source file that cannot be read.
class EImportError : public Exception {
public:
    using Exception::Exception;
};

class TTVXParseChartes : public TChartSink {
public:
    // The largest source file the import reads. Its parse tree and charts
    // take up to 650 times the size of the text (a statement every two
    // bytes; bench/import/memory-at-limit): well under a gigabyte.
    static constexpr qint64 MaxSourceBytes = qint64{1} << 20;

    // The converter follows Settings->SourceType at the time of Parse; with
    // no settings object, the global MainSettings; with neither, Pascal.
    explicit TTVXParseChartes(const TMainSettings* Settings = nullptr);
    // A fixed language, whatever the settings say (tools and tests).
    explicit TTVXParseChartes(TSourceLanguage Language);
    ~TTVXParseChartes() override;
    TTVXParseChartes(const TTVXParseChartes&) = delete;
    TTVXParseChartes& operator=(const TTVXParseChartes&) = delete;

    // Lines := the file's lines (UTF-8, or windows-1251 when the bytes are not
    // UTF-8; CR LF, LF and CR all end a line); LoadedText := its text;
    // SourceFile := FileName. A file that cannot be read, is no regular file
    // or is larger than MaxSourceBytes raises EImportError and changes
    // nothing.
    void LoadFromFile(const QString& FileName);
    // Lines := the lines of Text, LoadedText := Text, SourceFile := Name, for
    // sources that are not in a file; Name is what refusals call the source.
    // A text larger than MaxSourceBytes (as UTF-8) raises EImportError and
    // changes nothing.
    void LoadFromText(const QString& Text, const QString& Name = QString());

    // Parses Lines with GrammarFile and, on acceptance, builds the charts.
    // True when the text was accepted and its charts built. Report receives
    // the report of this parse in every case. A grammar file that cannot be
    // loaded shows "Input file could not be opened!" through the prompts.
    // A source whose charts would nest deeper than the nesting limit raises
    // ENestingLimit, and a lack of memory std::bad_alloc; either way no chart
    // of this parse is kept.
    bool Parse(TErrorReport& Report);

    int GetChartCount() const { return int(Charts.size()); }
    // Chart I, still owned by this object; EArrayError outside 0..count-1.
    TFCList* GetChart(int I) const;
    // Hands every chart built so far to the caller, in order of creation.
    std::vector<std::unique_ptr<TFCList>> TakeCharts();
    // All of Lines as one text, lines joined by "\n".
    QString GetSourceText() const;
    const TErrorReport& GetReport() const { return Report; }
    const TImportLog& GetLog() const { return Log; }
    TSourceLanguage GetSourceLanguage() const;
    // The text the parser reads: every line followed by CR LF, as UTF-8,
    // after the preprocessing of its language (C: one branch of each #if,
    // macros; Pascal: conditional compilation); empty when that refuses the
    // source.
    std::string ParserText() const;
    // Opens Parser on ParserText and sets it up as the import does. False
    // when the preprocessing refuses the source; Refusal then holds the
    // message and its line. Notes receives what the preprocessing left
    // unread: the include files the source names, the undefined names that
    // skipped code.
    bool OpenParser(class TGOLDParser& Parser, TErrorReport& Refusal,
                    TImportNotes* Notes = nullptr) const;
    // What the last Parse that succeeded left unread; empty after one that
    // failed.
    const TImportNotes& GetNotes() const { return Notes; }

    // TChartSink: appends Chart to Charts.
    void AddChart(std::unique_ptr<TFCList> Chart) override;

    QStringList Lines;   // the source text
    QString LoadedText;  // the source as loaded, line breaks and all
    QString GrammarFile; // full path of the compiled grammar table file
    QString SourceFile;  // name of the loaded source file

private:
    // The converter of the source language for trees of Parser; nullptr for
    // a language without one.
    std::unique_ptr<TTreeConverter> MakeConverter(const class TGOLDParser& Parser);
    // Runs Converter over the tree under Root. False when the conversion
    // failed; Report then holds why.
    bool BuildCharts(const TReduction* Root, TTreeConverter* Converter);
    // Every line followed by CR LF, as UTF-8.
    std::string LinesText() const;
    // What the preprocessing tells the parse besides the text.
    struct TPrepared {
        bool NestedComments = false;
        TImportNotes Notes;
    };
    // Text := Text after the preprocessing of the language. False when the
    // source is refused; Refusal then holds the message and its line.
    bool Preprocess(std::string& Text, TErrorReport& Refusal, TPrepared& Prepared) const;

    std::vector<std::unique_ptr<TFCList>> Charts;
    TImportLog Log;
    TErrorReport Report;
    TImportNotes Notes;
    const TMainSettings* Settings = nullptr;
    bool FixedLanguage = false;
    TSourceLanguage Language = slPascal;
};

} // namespace tvx
