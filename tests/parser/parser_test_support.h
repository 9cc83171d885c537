#pragma once
// Shared helpers of the parser tests: compiling grammars, writing table files
// by hand, running a parse and printing trees.
#include "parser/gold_parser.h"

#include <QTemporaryDir>
#include <string>
#include <vector>

namespace tvx::test {

// The text of a grammar under tests/parser/grammars/.
std::string GrammarSource(const std::string& FileName);

// Compiles grammar text; records a test failure (with the compiler's
// messages) and returns an empty string when it does not compile.
std::string CompileTables(const std::string& GrammarText);

// Writes bytes to a file of the temporary directory and returns its path.
QString WriteFile(const QTemporaryDir& Dir, const QString& Name, const std::string& Bytes);

// A parser loaded from table bytes through a real file.
class LoadedParser {
public:
    bool Load(const std::string& TableBytes);
    bool LoadGrammar(const std::string& GrammarText) { return Load(CompileTables(GrammarText)); }
    TGOLDParser Parser;

private:
    QTemporaryDir Dir;
};

// One message of a parse with what was current at that moment.
struct ParseStep {
    TParseMessage Message;
    std::string Detail; // token name and text, rule text or expected names
    int32_t Line;
};

// Parses Text to the end (accept or the first error); at most MaxSteps calls.
std::vector<ParseStep> RunParse(TGOLDParser& Parser, const std::string& Text,
                                size_t MaxSteps = 100000);
TParseMessage FinalMessage(const std::vector<ParseStep>& Steps);

// "Head(child child ...)" with leaves written as their text.
std::string TreeText(const TReduction* Node);

// Hand-made table files: typed entries and records as the file stores them.
struct Entry {
    char Type;
    int Value = 0;
    std::string Text;
};
Entry Byte(char c);
Entry Int(int v);
Entry Str(const std::string& s);
Entry Bool(bool b);
Entry Empty();
Entry Untyped(char type); // a type byte that carries no data

std::string UniString(const std::string& Text);
std::string Record(const std::vector<Entry>& Entries);

// A complete small grammar by hand: S ::= a, with the given action code for
// the terminal a in the initial state (1 = shift, which is correct), and the
// numbers of the LALR states after a and after S.
std::string TinyTables(int ActionOnA = 1, int AfterA = 1, int AfterS = 2);

} // namespace tvx::test
