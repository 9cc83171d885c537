#include "import/c_keywords.h"
#include <array>
#include <utility>
#include <vector>

namespace tvx {

namespace {

constexpr std::size_t LongestKeyword = 16;

using TEntry = std::pair<std::string_view, TCKeyword>;

// The keywords by their length: a word is compared with the few of its own.
const std::array<std::vector<TEntry>, LongestKeyword + 1>& KeywordsByLength() {
    static const auto table = [] {
        std::array<std::vector<TEntry>, LongestKeyword + 1> byLength;
        const auto add = [&byLength](TCKeyword Keyword,
                                     std::initializer_list<std::string_view> Words) {
            for (std::string_view word : Words) {
                byLength[word.size()].emplace_back(word, Keyword);
            }
        };
        add(TCKeyword::Type, {"void", "char", "short", "int", "long", "float", "double", "signed",
                              "unsigned", "_Bool", "_Complex", "__signed", "__signed__", "__int8",
                              "__int16", "__int32", "__int64", "__int128"});
        add(TCKeyword::Storage,
            {"static", "extern", "auto", "register", "typedef", "inline", "__inline", "__inline__",
             "_Noreturn", "_Thread_local", "__extension__", "__cdecl", "__stdcall", "__fastcall"});
        add(TCKeyword::Tag, {"struct", "union", "enum"});
        add(TCKeyword::Expression, {"sizeof", "_Alignof", "__alignof__", "alignof"});
        add(TCKeyword::Other, {"const",
                               "volatile",
                               "restrict",
                               "__restrict",
                               "__restrict__",
                               "__const",
                               "__volatile",
                               "__volatile__",
                               "_Atomic",
                               "__declspec",
                               "__attribute__",
                               "__attribute",
                               "_Static_assert",
                               "if",
                               "else",
                               "while",
                               "do",
                               "for",
                               "switch",
                               "case",
                               "default",
                               "break",
                               "continue",
                               "goto",
                               "return"});
        return byLength;
    }();
    return table;
}

} // namespace

TCKeyword CKeywordOf(std::string_view Word) {
    if (Word.size() > LongestKeyword || Word.empty() ||
        !((Word.front() >= 'a' && Word.front() <= 'z') || Word.front() == '_')) {
        return TCKeyword::None;
    }
    for (const auto& [keyword, kind] : KeywordsByLength()[Word.size()]) {
        if (keyword.front() == Word.front() && keyword == Word) {
            return kind;
        }
    }
    return TCKeyword::None;
}

} // namespace tvx
