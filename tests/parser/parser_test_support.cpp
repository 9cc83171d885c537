#include "parser/parser_test_support.h"

#include "grammar_compiler.h"

#include <QFile>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>

namespace tvx::test {

std::string GrammarSource(const std::string& FileName) {
    // Not found through __FILE__: a compiler cache may hand the compiler a
    // path relative to the build directory.
    const auto path = std::filesystem::path(TVX_PARSER_GRAMMAR_DIR) / FileName;
    std::ifstream in(path, std::ios::binary);
    EXPECT_TRUE(in.good()) << "missing test grammar " << path;
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::string CompileTables(const std::string& GrammarText) {
    const grammar::CompileResult result = grammar::CompileGrammar(GrammarText, "test.grm");
    std::string messages;
    for (const std::string& error : result.errors) {
        messages += error + "\n";
    }
    EXPECT_TRUE(result.ok) << messages;
    return result.ok ? result.tableFile : std::string();
}

QString WriteFile(const QTemporaryDir& Dir, const QString& Name, const std::string& Bytes) {
    const QString path = Dir.filePath(Name);
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(Bytes.data(), static_cast<qint64>(Bytes.size()));
    return path;
}

bool LoadedParser::Load(const std::string& TableBytes) {
    return Parser.LoadCompiledGrammar(WriteFile(Dir, "grammar.egt", TableBytes));
}

std::vector<ParseStep> RunParse(TGOLDParser& Parser, const std::string& Text, size_t MaxSteps) {
    std::vector<ParseStep> steps;
    Parser.OpenTextString(Text);
    for (size_t i = 0; i < MaxSteps; ++i) {
        const TParseMessage message = Parser.Parse();
        ParseStep step{message, {}, Parser.GetCurrentLine()};
        switch (message) {
        case msgTokenRead:
        case msgLexicalError:
            step.Detail = Parser.GetCurrentToken()->GetName() + " " +
                          std::string(Parser.GetCurrentToken()->Text);
            break;
        case msgReduction:
        case msgAccept:
            step.Detail = Parser.GetCurrentReduction()->ParentRule->GetText();
            break;
        case msgSyntaxError:
            step.Detail = Parser.GetCurrentToken()->GetName() + ":";
            for (int32_t t = 0; t < Parser.GetExpectedTokens().GetCount(); ++t) {
                step.Detail += " " + Parser.GetExpectedTokens().GetItem(t)->GetName();
            }
            break;
        default:
            break;
        }
        steps.push_back(step);
        if (message != msgTokenRead && message != msgReduction) {
            break;
        }
    }
    return steps;
}

TParseMessage FinalMessage(const std::vector<ParseStep>& Steps) {
    return Steps.empty() ? msgInternalError : Steps.back().Message;
}

std::string TreeText(const TReduction* Node) {
    if (Node == nullptr) {
        return "null";
    }
    std::string text = Node->ParentRule->Head->Name + "(";
    for (int32_t i = 0; i < Node->GetTokenCount(); ++i) {
        const TToken* token = Node->GetToken(i);
        if (i > 0) {
            text += " ";
        }
        text += token->GetReduction() ? TreeText(token->GetReduction()) : token->Text;
    }
    return text + ")";
}

Entry Byte(char c) {
    return {'b', 0, std::string(1, c)};
}
Entry Int(int v) {
    return {'I', v, {}};
}
Entry Str(const std::string& s) {
    return {'S', 0, s};
}
Entry Bool(bool b) {
    return {'B', b ? 1 : 0, {}};
}
Entry Empty() {
    return {'E', 0, {}};
}
Entry Untyped(char type) {
    return {type, 0, {}};
}

namespace {

void Int16(int v, std::string& to) {
    to += static_cast<char>(v & 0xFF);
    to += static_cast<char>((v >> 8) & 0xFF);
}

} // namespace

std::string UniString(const std::string& Text) {
    std::string bytes;
    for (char c : Text) {
        Int16(static_cast<unsigned char>(c), bytes);
    }
    Int16(0, bytes);
    return bytes;
}

std::string Record(const std::vector<Entry>& Entries) {
    std::string bytes = "M";
    Int16(static_cast<int>(Entries.size()), bytes);
    for (const Entry& e : Entries) {
        bytes += e.Type;
        switch (e.Type) {
        case 'b':
            bytes += e.Text;
            break;
        case 'I':
            Int16(e.Value, bytes);
            break;
        case 'S':
            bytes += UniString(e.Text);
            break;
        case 'B':
            bytes += static_cast<char>(e.Value);
            break;
        default:
            break;
        }
    }
    return bytes;
}

std::string TinyTables(int ActionOnA, int AfterA, int AfterS) {
    std::string t = UniString("GOLD Parser Tables/v1.0");
    t += Record({Byte('P'), Str("Tiny"), Str("1"), Str("me"), Str("S ::= a"), Bool(true), Int(3)});
    t += Record({Byte('T'), Int(4), Int(1), Int(1), Int(2), Int(3)});
    t += Record({Byte('I'), Int(0), Int(0)});
    t += Record({Byte('S'), Int(0), Str("EOF"), Int(3)});
    t += Record({Byte('S'), Int(1), Str("Error"), Int(7)});
    t += Record({Byte('S'), Int(2), Str("a"), Int(1)});
    t += Record({Byte('S'), Int(3), Str("S"), Int(0)});
    t += Record({Byte('C'), Int(0), Str("a")});
    t += Record({Byte('R'), Int(0), Int(3), Empty(), Int(2)});
    t += Record({Byte('D'), Int(0), Bool(false), Int(0), Empty(), Int(0), Int(1), Empty()});
    t += Record({Byte('D'), Int(1), Bool(true), Int(2), Empty()});
    t += Record({Byte('L'), Int(0), Empty(), Int(2), Int(ActionOnA), Int(AfterA), Empty(), Int(3),
                 Int(3), Int(AfterS), Empty()});
    t += Record({Byte('L'), Int(AfterA), Empty(), Int(0), Int(2), Int(0), Empty()});
    t += Record({Byte('L'), Int(AfterS), Empty(), Int(0), Int(4), Int(0), Empty()});
    return t;
}

} // namespace tvx::test
