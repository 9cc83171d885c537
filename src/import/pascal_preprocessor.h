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
// kept for the error report. A conditional left open at the end of the text,
// and an {$IF} nested deeper than kMaxSourceNesting, refuse the source.
#include <QString>
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
    // The symbols every source starts with, as Free Pascal 3.2.2 for x86-64
    // Linux defines them: the version numbers have their values, the others
    // are empty. {$MODE} adds the symbol of its mode (FPC_OBJFPC, ...).
    static const std::map<std::string, std::string>& PredefinedSymbols();

    // Text (UTF-8) with every skipped branch blanked; when the source is
    // refused, Error() tells why and the text is not to be parsed.
    std::string Run(std::string Text);
    // "Line N: Preprocessor Error: ..." for a refused source, else empty.
    const QString& Error() const { return ErrorText; }
    int ErrorLine() const { return ErrorAt; }
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
        int Line;         // of the directive that opened it
        std::string Name; // of that directive: "IFDEF", "IF", ...
    };

    bool Active() const { return Branches.empty() || Branches.back().Active; }
    // Acts on the directive whose text (after '$', without the closing
    // delimiter) is Body. Returns the string literal that takes the
    // directive's place, for one that inserts a text ({$I %DATE%}).
    std::string Directive(std::string_view Body);
    void Open(const std::string& Name, bool Condition);
    void Alternative(std::optional<bool> Condition);
    // The value of an {$IF} expression; nothing when it cannot be worked out
    // or refuses the source.
    std::optional<bool> Evaluate(std::string_view Expression);
    // {$MODE Name}: the symbol of the old mode goes, that of the new comes.
    void SetMode(const std::string& Name);
    void Fail(int At, const QString& What);

    std::map<std::string, std::string> Symbols; // upper case -> value
    bool Nested = false;
    std::vector<TBranch> Branches;
    QStringList Includes;
    int Line = 1; // of the directive being read
    QString ErrorText;
    int ErrorAt = -1;
};

} // namespace tvx
