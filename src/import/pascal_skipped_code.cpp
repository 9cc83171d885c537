#include "import/pascal_skipped_code.h"
#include <algorithm>
#include <cctype>
#include <initializer_list>

namespace tvx {

namespace {

bool IsAny(std::string_view Token, std::initializer_list<std::string_view> Words) {
    return std::any_of(Words.begin(), Words.end(), [Token](std::string_view word) {
        return Token.size() == word.size() &&
               std::equal(Token.begin(), Token.end(), word.begin(), [](char a, char b) {
                   return std::tolower(static_cast<unsigned char>(a)) == b;
               });
    });
}

} // namespace

void TPascalCodePlace::Feed(std::string_view Token) {
    if (Depth == 0) {
        Depth = IsAny(Token, {"begin", "asm", "initialization", "finalization"}) ? 1 : 0;
    } else if (IsAny(Token, {"begin", "try", "case", "asm", "repeat"})) {
        ++Depth;
    } else if (IsAny(Token, {"end", "until"})) {
        --Depth;
    }
}

void TPascalSkippedCode::Feed(std::string_view Token) {
    if (!Held) {
        // Any token inside a body, and the "begin" that opens one.
        const bool inside = Place.InStatements();
        Place.Feed(Token);
        Held = inside || Place.InStatements();
    }
}

} // namespace tvx
