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
    // Token reads and reductions are nearly every message: each only notes
    // its symbol or rule, whose lines are written when they are read.
    switch (Message) {
    case msgTokenRead: {
        UseGrammar(Parser.GetGrammar());
        const TToken* token = Parser.GetCurrentToken();
        Push({token != nullptr && token->GetTableIndex() >= 0 ? -1 - token->GetTableIndex()
                                                              : Store("Token Read", "", "", ""),
              -1});
        return;
    }
    case msgReduction: {
        UseGrammar(Parser.GetGrammar());
        const TReduction* node = Parser.GetCurrentReduction();
        const TRule* rule = node != nullptr ? node->GetParentRule() : nullptr;
        Push({rule != nullptr && rule->TableIndex >= 0 ? -1 - rule->TableIndex
                                                       : Store("Reduce", "", "", ""),
              Counter});
        return;
    }
    default:
        AddOther(Parser, Message);
        return;
    }
}

void TImportLog::SwitchGrammar(const std::shared_ptr<const TGrammarTables>& Next) {
    for (size_t i = 0; i < EntryCount; ++i) {
        TEntry& entry = EntryAt(i);
        if (entry.Ref >= 0) {
            continue;
        }
        const int index = -entry.Ref - 1;
        entry.Ref = entry.Counter < 0 ? Store(TokenReadLine(index, 0), TokenReadLine(index, 1),
                                              TokenReadLine(index, 2), TokenReadLine(index, 3))
                                      : Store(ReductionLine(index, 0), ReductionLine(index, 1),
                                              QString(), ReductionLine(index, 3));
    }
    Grammar = Next;
}

QString TImportLog::TokenReadLine(int Symbol, int Part) const {
    if (Part == 0) {
        return QStringLiteral("Token Read");
    }
    const TSymbol* symbol = Grammar != nullptr ? Grammar->SymbolTable.Find(Symbol) : nullptr;
    if (symbol == nullptr) {
        return QString();
    }
    switch (Part) {
    case 1:
        return Text8(symbol->Name);
    case 2:
        return Text8(symbol->GetText());
    default:
        return QString::number(symbol->TableIndex);
    }
}

QString TImportLog::ReductionLine(int Rule, int Part) const {
    if (Part == 0) {
        return QStringLiteral("Reduce");
    }
    const TRule* rule = Grammar != nullptr ? Grammar->RuleTable.Find(Rule) : nullptr;
    if (rule == nullptr || Part == 2) {
        return QString();
    }
    return Part == 1 ? Text8(rule->GetText()) : QString::number(rule->TableIndex);
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
    Grammar.reset();
}

QString TImportLog::Line(int I) const {
    if (I < 0 || I >= Count()) {
        throw std::out_of_range("TImportLog::Line");
    }
    const TEntry& entry = EntryAt(size_t(I / 4));
    const int part = I % 4;
    if (part == 2 && entry.Counter >= 0) {
        return QString::number(entry.Counter) + Tab;
    }
    if (entry.Ref >= 0) {
        return Texts[size_t(entry.Ref + part)];
    }
    const int index = -entry.Ref - 1;
    return (entry.Counter < 0 ? TokenReadLine(index, part) : ReductionLine(index, part)) + Tab;
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
