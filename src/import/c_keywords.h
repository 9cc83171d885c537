#pragma once
// The words the C grammar reads as keywords, by what they may stand for.
// The preprocessing asks about them to tell a macro's use from plain C.
#include <string_view>

namespace tvx {

// Built-in type specifiers: int, unsigned, void, __int64...
bool IsCTypeKeyword(std::string_view Word);
// Storage classes and function specifiers: static, extern, typedef, inline...
bool IsCStorageKeyword(std::string_view Word);
// struct, union and enum.
bool IsCTagKeyword(std::string_view Word);
// Every keyword of the grammar, these and the rest (if, return, const,
// sizeof, __attribute__...).
bool IsCKeyword(std::string_view Word);
// The keywords an expression may hold outside parentheses.
bool IsCExpressionKeyword(std::string_view Word);

} // namespace tvx
