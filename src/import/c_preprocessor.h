#pragma once
// Prepares a C source for the parser the way a compiler's preprocessor
// would, as far as the source itself tells: comments and directive lines go,
// one branch of each #if / #ifdef / #ifndef / #elif / #else / #endif is kept
// by the macros defined so far in the file, and the file's own #define'd
// macros are expanded where a use would not read as its expansion does
// (types, keywords, braces); uses that read alike (a constant, MAX(a, b),
// a do { } while (0) statement) stay as written, so the charts show them
// as the author wrote them. Macros from headers the import cannot read get
// the ';' they leave out where they stand as statements
// (c_statement_macros.h) and are then dropped where plain C could not hold
// them (c_foreign_macros.h).
//
// Every line of the result holds what stood on the same line of the source,
// so the parser's line numbers are the source's: an expansion stays on the
// line of its use, and removed text leaves its line breaks.
//
// Names never defined are 0 in a condition. The macros a C99 compiler for
// 64-bit Linux on x86-64 defines for its target are defined (__STDC__,
// __STDC_VERSION__ 199901L, __unix__, __linux__, __x86_64__, __LP64__,
// __CHAR_BIT__, __SIZEOF_INT__, __BYTE_ORDER__ ...), but none that names a
// compiler (__GNUC__): code written for one uses extensions the grammar does
// not read. A condition that cannot be evaluated keeps its first branch.
#include <QString>
#include <QStringList>
#include <string>
#include <string_view>

namespace tvx {

struct TCPreprocessed {
    std::string Text; // the text for the parser, with the same line breaks
    QString Error;    // "Line N: Preprocessor Error: ..." when the source is refused
    int ErrorLine = -1;
    // The names, never defined, whose value decided to skip a branch that
    // held statements or a function body, each once, in order of the source.
    QStringList UndefinedNames;
};

// Text: the source as the parser would read it (UTF-8, lines ended by CR LF).
TCPreprocessed PreprocessC(std::string_view Text);

} // namespace tvx
