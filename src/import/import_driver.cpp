#include "import/import_driver.h"
#include "chart/fc_list.h"
#include "chart/nesting_limit.h"
#include "import/c_converter.h"
#include "import/c_preprocessor.h"
#include "import/pascal_converter.h"
#include "import/pascal_preprocessor.h"
#include "parser/gold_parser.h"
#include "parser/grammar_cache.h"
#include "platform/cp1251.h"
#include "platform/prompts.h"
#include "platform/regular_file.h"
#include "settings/builtin_texts.h"
#include "settings/main_settings.h"
#include "settings/read_refusal.h"
#include "support/arrays.h"
#include <new>
#include <utility>

namespace tvx {

namespace {

QStringList SplitLines(const QString& Text) {
    // CR LF, LF and CR each end a line; a break at the very end makes no
    // empty last line.
    QStringList lines;
    qsizetype start = 0;
    const qsizetype size = Text.size();
    for (qsizetype i = 0; i < size; ++i) {
        const QChar c = Text[i];
        if (c != QLatin1Char('\r') && c != QLatin1Char('\n')) {
            continue;
        }
        lines << Text.mid(start, i - start);
        if (c == QLatin1Char('\r') && i + 1 < size && Text[i + 1] == QLatin1Char('\n')) {
            ++i;
        }
        start = i + 1;
    }
    if (start < size) {
        lines << Text.mid(start);
    }
    return lines;
}

// The file's name, then "The source file is larger than ..." from the
// interface texts.
QString SourceTooLarge(const QString& FileName) {
    return FileName + QStringLiteral("\r\n") +
           MenuTextWith(QStringLiteral("sm_mes_import_size"),
                        TTVXParseChartes::MaxSourceBytes >> 20);
}

QString LinePrefix(int Line) {
    return QStringLiteral("Line ") + QString::number(Line) + QStringLiteral(": ");
}

} // namespace

TTVXParseChartes::TTVXParseChartes(const TMainSettings* Settings) : Settings(Settings) {}

TTVXParseChartes::TTVXParseChartes(TSourceLanguage Language)
    : FixedLanguage(true), Language(Language) {}

TTVXParseChartes::~TTVXParseChartes() = default;

void TTVXParseChartes::LoadFromFile(const QString& FileName) {
    const TFileRead read = ReadRegularFile(FileName, MaxSourceBytes);
    if (read.Fault == TReadFault::TooLarge) {
        throw EImportError(SourceTooLarge(FileName));
    }
    if (!read.Ok()) {
        throw EImportError(QStringLiteral("Cannot open file \"%1\". %2")
                               .arg(FileName, ReadRefusalReason(read, MaxSourceBytes)));
    }
    LoadedText = DecodeTextFile(read.Bytes);
    Lines = SplitLines(LoadedText);
    SourceFile = FileName;
}

void TTVXParseChartes::LoadFromText(const QString& Text, const QString& Name) {
    // A text is held to the bound of a file: it may become one.
    if (Text.toUtf8().size() > MaxSourceBytes) {
        throw EImportError(SourceTooLarge(Name));
    }
    Lines = SplitLines(Text);
    LoadedText = Text;
    SourceFile = Name;
}

TSourceLanguage TTVXParseChartes::GetSourceLanguage() const {
    if (FixedLanguage) {
        return Language;
    }
    const TMainSettings* settings = Settings != nullptr ? Settings : MainSettings;
    return settings != nullptr ? TSourceLanguage(settings->SourceType) : slPascal;
}

std::string TTVXParseChartes::ParserText() const {
    std::string text = LinesText();
    TErrorReport refusal;
    TPrepared prepared;
    return Preprocess(text, refusal, prepared) ? text : std::string();
}

bool TTVXParseChartes::OpenParser(TGOLDParser& Parser, TErrorReport& Refusal,
                                  TImportNotes* Notes) const {
    std::string text = LinesText();
    TPrepared prepared;
    if (!Preprocess(text, Refusal, prepared)) {
        return false;
    }
    Parser.OpenTextString(std::move(text));
    Parser.SetTrimReductions(false);
    Parser.SetNestedComments(prepared.NestedComments);
    if (Notes != nullptr) {
        *Notes = std::move(prepared.Notes);
    }
    return true;
}

bool TTVXParseChartes::Preprocess(std::string& Text, TErrorReport& Refusal,
                                  TPrepared& Prepared) const {
    if (GetSourceLanguage() == slPascal) {
        TPascalPreprocessor preprocessor;
        Text = preprocessor.Run(std::move(Text));
        if (!preprocessor.Error().isEmpty()) {
            Refusal.Message = preprocessor.Error();
            Refusal.Line = preprocessor.ErrorLine();
            return false;
        }
        Prepared.NestedComments = preprocessor.NestedComments();
        Prepared.Notes.SkippedIncludes = preprocessor.SkippedIncludes();
        Prepared.Notes.UndefinedNames = preprocessor.UndefinedNames();
        return true;
    }
    if (GetSourceLanguage() != slCpp) {
        return true;
    }
    TCPreprocessed prepared = PreprocessC(Text);
    if (!prepared.Error.isEmpty()) {
        Refusal.Message = prepared.Error;
        Refusal.Line = prepared.ErrorLine;
        return false;
    }
    Text = std::move(prepared.Text);
    Prepared.Notes.UndefinedNames = std::move(prepared.UndefinedNames);
    return true;
}

std::string TTVXParseChartes::LinesText() const {
    // Every line ends in CR LF, whatever the file had: the grammars count
    // lines by their CR characters.
    QString text;
    qsizetype size = 0;
    for (const QString& line : Lines) {
        size += line.size() + 2;
    }
    text.reserve(size);
    for (const QString& line : Lines) {
        text += line;
        text += QLatin1String("\r\n");
    }
    return text.toStdString();
}

QString TTVXParseChartes::GetSourceText() const {
    return Lines.join(QLatin1Char('\n'));
}

TFCList* TTVXParseChartes::GetChart(int I) const {
    if (I < 0 || I >= GetChartCount()) {
        RaiseArrayIndexError(I);
    }
    return Charts[size_t(I)].get();
}

std::vector<std::unique_ptr<TFCList>> TTVXParseChartes::TakeCharts() {
    return std::exchange(Charts, {});
}

void TTVXParseChartes::AddChart(std::unique_ptr<TFCList> Chart) {
    Charts.push_back(std::move(Chart));
}

bool TTVXParseChartes::Parse(TErrorReport& Out) {
    Report.List.clear();
    Report.Message.clear();
    Report.Line = -1;
    Notes = {};
    int counter = 0;
    bool accepted = false;

    auto parser = std::make_unique<TGOLDParser>();
    if (!parser->UseGrammar(TGrammarCache::Shared().Get(GrammarFile))) {
        Prompts().ShowMessage(QStringLiteral("Input file could not be opened!"));
        Out = Report;
        return false;
    }
    // The converter tells the parser what it looks for, so that the tree
    // notes where there is nothing to convert.
    std::unique_ptr<TTreeConverter> converter = MakeConverter(*parser);
    if (converter != nullptr) {
        parser->WatchSymbols(converter->SymbolWatches());
    }
    TImportNotes notes;
    if (!OpenParser(*parser, Report, &notes)) {
        Out = Report;
        return false;
    }

    for (bool done = false; !done;) {
        const TParseMessage message = parser->Parse();
        if (message == msgReduction) {
            ++counter;
            if (TReduction* node = parser->GetCurrentReduction()) {
                node->SetTag(counter);
            }
        }
        Log.Add(*parser, message, counter);
        const int line = parser->GetCurrentLine();
        switch (message) {
        case msgAccept:
            accepted = BuildCharts(parser->GetCurrentReduction(), converter.get());
            done = true;
            break;
        case msgNotLoadedError:
        case msgInternalError:
            done = true;
            break;
        case msgLexicalError: {
            const TToken* token = parser->GetCurrentToken();
            const std::string_view text = token != nullptr ? token->Text : std::string_view();
            Report.Message = LinePrefix(line) +
                             QStringLiteral("Lexical Error: Cannot recognize token: ") +
                             QString::fromUtf8(text.data(), qsizetype(text.size()));
            Report.Line = line;
            done = true;
            break;
        }
        case msgSyntaxError:
            Report.Message = LinePrefix(line) +
                             QStringLiteral("Syntax Error: Expecting the following tokens: ") +
                             Log.Line(Log.Count() - 2).chopped(1);
            Report.Line = line;
            done = true;
            break;
        case msgCommentError:
            Report.Message =
                QStringLiteral("Ошибка в комментариях! Неожиданный конец файла в строке ") +
                QString::number(line);
            Report.Line = line;
            done = true;
            break;
        default:
            break;
        }
    }
    // A source that fails may miss what its include files declare.
    if (!accepted && !Report.Message.isEmpty() && !notes.SkippedIncludes.isEmpty()) {
        Report.Message += QStringLiteral(" (include files not read: ") +
                          notes.SkippedIncludes.join(QStringLiteral(", ")) + QLatin1Char(')');
    }
    if (accepted) {
        Notes = std::move(notes);
    }
    // The parse tree goes with the parser; the charts hold their own texts.
    parser.reset();
    Out = Report;
    return accepted;
}

std::unique_ptr<TTreeConverter> TTVXParseChartes::MakeConverter(const TGOLDParser& Parser) {
    switch (GetSourceLanguage()) {
    case slPascal:
        return std::make_unique<TPascalConverter>(*this, Parser.GetSymbolTable(),
                                                  Parser.GetLeaves());
    case slCpp:
        return std::make_unique<TCConverter>(*this, Parser.GetSymbolTable(), Parser.GetLeaves());
    default:
        return nullptr;
    }
}

bool TTVXParseChartes::BuildCharts(const TReduction* Root, TTreeConverter* Converter) {
    if (Converter == nullptr) {
        return true; // a language without a converter builds nothing
    }
    // A conversion that fails half way leaves no half-built charts behind.
    const size_t before = Charts.size();
    try {
        Converter->Convert(Root);
        return true;
    } catch (const ENestingLimit&) {
        // Not a fault of the text: the caller refuses the whole import.
        Charts.resize(before);
        throw;
    } catch (const std::bad_alloc&) {
        Charts.resize(before);
        throw;
    } catch (const std::exception& e) {
        Charts.resize(before);
        const Exception* own = dynamic_cast<const Exception*>(&e);
        Report.Message = own != nullptr ? own->message() : QString::fromUtf8(e.what());
        return false;
    }
}

} // namespace tvx
