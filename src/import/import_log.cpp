#include "import/import_log.h"
#include "parser/gold_parser.h"
#include <stdexcept>

namespace tvx {

namespace {

const QString Tab = QStringLiteral("\t");

QString Text8(std::string_view Text) {
    return QString::fromUtf8(Text.data(), qsizetype(Text.size()));
}

// " " + the name of every expected token, without the leading blank.
QString ExpectedList(const TGOLDParser& Parser) {
    QString list;
    const TTokenStack& expected = Parser.GetExpectedTokens();
    for (int32_t i = 0; i < expected.GetCount(); ++i) {
        list += QLatin1Char(' ') + Text8(expected.GetItem(i)->GetName());
    }
    return list.trimmed();
}

} // namespace

std::int32_t TImportLog::Store(const QString& A, const QString& B, const QString& C,
                               const QString& D) {
    const auto first = std::int32_t(Texts.size());
    Texts.push_back(A + Tab);
    Texts.push_back(B + Tab);
    Texts.push_back(C + Tab);
    Texts.push_back(D + Tab);
    return first;
}

void TImportLog::Add(const TGOLDParser& Parser, int Message, int Counter) {
    // Token reads and reductions are nearly every message: their lines are
    // made once per symbol and rule, and each message only notes which.
    switch (Message) {
    case msgTokenRead: {
        const TToken* token = Parser.GetCurrentToken();
        std::int32_t& first = Known(KnownSymbols, token != nullptr ? token->GetTableIndex() : -1);
        if (first < 0) {
            first = StoreTokenRead(token);
        }
        Push({first, -1});
        return;
    }
    case msgReduction: {
        const TReduction* node = Parser.GetCurrentReduction();
        const TRule* rule = node != nullptr ? node->GetParentRule() : nullptr;
        std::int32_t& first = Known(KnownRules, rule != nullptr ? rule->TableIndex : -1);
        if (first < 0) {
            first = StoreReduction(rule);
        }
        Push({first, Counter});
        return;
    }
    default:
        AddOther(Parser, Message);
        return;
    }
}

std::int32_t TImportLog::StoreTokenRead(const TToken* Token) {
    return Token == nullptr
               ? Store("Token Read", "", "", "")
               : Store("Token Read", Text8(Token->GetName()), Text8(Token->GetSymbolText()),
                       QString::number(Token->GetTableIndex()));
}

std::int32_t TImportLog::StoreReduction(const TRule* Rule) {
    return Rule == nullptr
               ? Store("Reduce", "", "", "")
               : Store("Reduce", Text8(Rule->GetText()), "", QString::number(Rule->TableIndex));
}

void TImportLog::AddOther(const TGOLDParser& Parser, int Message) {
    const TToken* token = Parser.GetCurrentToken();
    const TReduction* node = Parser.GetCurrentReduction();
    const TRule* rule = node != nullptr ? node->GetParentRule() : nullptr;
    switch (Message) {
    case msgAccept:
        Push({rule == nullptr
                  ? Store("Accept", "", "", "")
                  : Store("Accept", Text8(rule->GetText()), "", QString::number(rule->TableIndex)),
              -1});
        return;
    case msgNotLoadedError:
        AddLines("Not Loaded Error", "Compiled Gramar Table not loaded", "", "");
        return;
    case msgLexicalError:
        AddLines("Lexical Error", "Cannot recognize token",
                 token != nullptr ? Text8(token->Text) : QString(), "");
        return;
    case msgSyntaxError:
        AddLines("Syntax Error", "Expecting the following tokens", ExpectedList(Parser), "");
        return;
    case msgCommentError:
        AddLines("Comment Error", "Unexpected end of file", "", "");
        return;
    case msgInternalError:
        AddLines("Internal Error", "Something is horribly wrong", "", "");
        return;
    default:
        return;
    }
}

void TImportLog::AddLines(const QString& A, const QString& B, const QString& C, const QString& D) {
    Push({Store(A, B, C, D), -1});
}

void TImportLog::NewBlock() {
    Entries.push_back(std::make_unique_for_overwrite<TEntry[]>(BlockSize));
}

void TImportLog::Clear() {
    Entries.clear();
    EntryCount = 0;
    Texts.clear();
    KnownSymbols.clear();
    KnownRules.clear();
}

QString TImportLog::Line(int I) const {
    if (I < 0 || I >= Count()) {
        throw std::out_of_range("TImportLog::Line");
    }
    const size_t index = size_t(I / 4);
    const TEntry& entry = Entries[index / BlockSize][index % BlockSize];
    const int part = I % 4;
    if (part == 2 && entry.Counter >= 0) {
        return QString::number(entry.Counter) + Tab;
    }
    return Texts[size_t(entry.Texts + part)];
}

QStringList TImportLog::Lines() const {
    QStringList lines;
    lines.reserve(Count());
    for (int i = 0; i < Count(); ++i) {
        lines << Line(i);
    }
    return lines;
}

} // namespace tvx
