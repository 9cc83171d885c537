#pragma once
// Conditional compilation of Pascal sources, so that the parser reads one
// branch of every {$IFDEF} and never both alternatives of a heading or a
// uses list. Skipped text is blanked byte by byte, its line breaks kept, so
// every line number stays that of the file.
//
// {$DEFINE} and {$UNDEF} in the text, and a few symbols defined before it
// (PredefinedSymbols), decide {$IFDEF}, {$IFNDEF}, {$IF} and {$ELSEIF}; an
// {$IF} or {$ELSEIF} whose expression cannot be worked out here, and every
// {$IFOPT}, counts as true. Directives may be written (*$...*) as well.
// Include files ({$I name}, {$INCLUDE name}) are not read; their names are
// kept for the error report.
#include <QStringList>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tvx {

class TPascalPreprocessor {
public:
    // The symbols every source starts with, as the Free Pascal compiler for
    // 64-bit Linux defines them; the value is that of FPC_FULLVERSION, and
    // empty for the others.
    static const std::map<std::string, std::string>& PredefinedSymbols();

    // Text (UTF-8) with every skipped branch blanked.
    std::string Run(std::string Text);
    // The include files of the branches that were read, in order.
    const QStringList& SkippedIncludes() const { return Includes; }
    // Whether the text's comments nest: in Free Pascal's own modes (a
    // {$MODE FPC} or {$MODE OBJFPC} directive), "{ a { b } c }" is one
    // comment; in Delphi and Turbo Pascal code, and code that names no mode,
    // a comment ends at its first closing delimiter.
    bool NestedComments() const { return Nested; }

private:
    struct TBranch {
        bool OuterActive; // the text around the conditional is read
        bool Taken;       // one of its branches was read already
        bool Active;      // the branch being read now
    };

    bool Active() const { return Branches.empty() || Branches.back().Active; }
    // Acts on the directive whose text (after '$', without the closing
    // delimiter) is Body. Returns the string literal that takes the
    // directive's place, for one that inserts a text ({$I %DATE%}).
    std::string Directive(std::string_view Body);
    void Open(bool Condition);
    void Alternative(std::optional<bool> Condition);
    // The value of an {$IF} expression; nothing when it cannot be worked out.
    std::optional<bool> Evaluate(std::string_view Expression) const;

    std::map<std::string, std::string> Symbols; // upper case -> value
    bool Nested = false;
    std::vector<TBranch> Branches;
    QStringList Includes;
};

} // namespace tvx
