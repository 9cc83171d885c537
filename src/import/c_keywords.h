#pragma once
// The words the C grammar reads as keywords, by what they may stand for.
// The preprocessing asks about them to tell a macro's use from plain C.
#include <cstdint>
#include <string_view>

namespace tvx {

enum class TCKeyword : std::uint8_t {
    None,       // not a keyword: a name
    Type,       // built-in type specifiers: int, unsigned, void, __int64...
    Storage,    // storage classes and function specifiers: static, typedef, inline...
    Tag,        // struct, union and enum
    Expression, // the keywords an expression may hold outside parentheses: sizeof...
    Other,      // the rest: if, return, const, __attribute__...
};

TCKeyword CKeywordOf(std::string_view Word);

} // namespace tvx
