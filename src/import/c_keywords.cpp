#include "import/c_keywords.h"
#include <cstdint>
#include <unordered_map>

namespace tvx {

namespace {

enum TKeywordClass : std::uint8_t {
    kcType,
    kcStorage,
    kcTag,
    kcExpression,
    kcOther,
};

TKeywordClass ClassOf(std::string_view Word, bool& Found) {
    static const std::unordered_map<std::string_view, TKeywordClass> keywords = [] {
        std::unordered_map<std::string_view, TKeywordClass> map;
        for (std::string_view word :
             {"void", "char", "short", "int", "long", "float", "double", "signed", "unsigned",
              "_Bool", "_Complex", "__signed", "__signed__", "__int8", "__int16", "__int32",
              "__int64", "__int128"}) {
            map.emplace(word, kcType);
        }
        for (std::string_view word : {"static", "extern", "auto", "register", "typedef", "inline",
                                      "__inline", "__inline__", "_Noreturn", "_Thread_local",
                                      "__extension__", "__cdecl", "__stdcall", "__fastcall"}) {
            map.emplace(word, kcStorage);
        }
        for (std::string_view word : {"struct", "union", "enum"}) {
            map.emplace(word, kcTag);
        }
        for (std::string_view word : {"sizeof", "_Alignof", "__alignof__", "alignof"}) {
            map.emplace(word, kcExpression);
        }
        for (std::string_view word : {"const",
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
                                      "return"}) {
            map.emplace(word, kcOther);
        }
        return map;
    }();
    const auto found = keywords.find(Word);
    Found = found != keywords.end();
    return Found ? found->second : kcOther;
}

bool IsOfClass(std::string_view Word, TKeywordClass Class) {
    bool found = false;
    return ClassOf(Word, found) == Class && found;
}

} // namespace

bool IsCTypeKeyword(std::string_view Word) {
    return IsOfClass(Word, kcType);
}

bool IsCStorageKeyword(std::string_view Word) {
    return IsOfClass(Word, kcStorage);
}

bool IsCTagKeyword(std::string_view Word) {
    return IsOfClass(Word, kcTag);
}

bool IsCKeyword(std::string_view Word) {
    bool found = false;
    ClassOf(Word, found);
    return found;
}

bool IsCExpressionKeyword(std::string_view Word) {
    return IsOfClass(Word, kcExpression);
}

} // namespace tvx
