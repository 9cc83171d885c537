// Damaged table files and damaged sources: whatever the bytes, loading and
// parsing end with a result, never a crash or an endless loop.
#include "parser/parser_test_support.h"

#include <gtest/gtest.h>
#include <random>

namespace tvx::test {
namespace {

const char* const Program = R"(x := 1;
{ block (* nested *) comment }
while x < 10 do
  if x = 5 then print "five"; else print x * (2 + -y) / 3; end
  x := x + 1; // step
end
)";

// One to four random edits: overwrite, insert, delete or duplicate bytes.
std::string Mutate(std::string bytes, std::mt19937& random, const std::string& alphabet) {
    auto pick = [&](size_t n) {
        return n == 0 ? 0 : std::uniform_int_distribution<size_t>(0, n - 1)(random);
    };
    const size_t edits = 1 + pick(4);
    for (size_t e = 0; e < edits; ++e) {
        const char c =
            alphabet.empty() ? static_cast<char>(pick(256)) : alphabet[pick(alphabet.size())];
        const size_t at = pick(bytes.size() + 1);
        switch (pick(4)) {
        case 0:
            if (at < bytes.size()) {
                bytes[at] = c;
            }
            break;
        case 1:
            bytes.insert(at, 1, c);
            break;
        case 2:
            bytes.erase(at, 1 + pick(8));
            break;
        default:
            bytes.insert(at, bytes.substr(at, 1 + pick(16)));
            break;
        }
    }
    return bytes;
}

// A parse that returns while it still has a token or reduction to report
// has hit the step limit: with any tables that load, that means a loop.
void ExpectParseEnds(TGOLDParser& parser, const std::string& text) {
    const auto steps = RunParse(parser, text, 2000000);
    ASSERT_FALSE(steps.empty());
    const TParseMessage last = steps.back().Message;
    EXPECT_NE(last, msgTokenRead);
    EXPECT_NE(last, msgReduction);
    EXPECT_GE(steps.back().Line, 1);
}

TEST(Robustness, MutatedTableFilesLoadOrFailButNeverCrash) {
    const std::string tables = CompileTables(GrammarSource("statements.grm"));
    ASSERT_FALSE(tables.empty());
    std::mt19937 random(20240611);
    int loadedCount = 0;
    for (int i = 0; i < 600; ++i) {
        SCOPED_TRACE(i);
        LoadedParser loaded;
        if (!loaded.Load(Mutate(tables, random, {}))) {
            continue;
        }
        ++loadedCount;
        ExpectParseEnds(loaded.Parser, Program);
        ExpectParseEnds(loaded.Parser, "");
    }
    // Most single edits hit strings or counts that still load; both paths ran.
    EXPECT_GT(loadedCount, 0);
    EXPECT_LT(loadedCount, 600);
}

TEST(Robustness, MutatedSourcesAlwaysEndWithAMessage) {
    LoadedParser statements;
    ASSERT_TRUE(statements.LoadGrammar(GrammarSource("statements.grm")));
    std::mt19937 random(7);
    const std::string alphabet = std::string("{}()*/\"';:=\r\n\t @x1") + '\0' + "\xD0\xB4\xFF";
    for (int i = 0; i < 1500; ++i) {
        SCOPED_TRACE(i);
        ExpectParseEnds(statements.Parser, Mutate(Program, random, alphabet));
    }
}

} // namespace
} // namespace tvx::test
