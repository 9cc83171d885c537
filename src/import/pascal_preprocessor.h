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
// Include files ({$I name}, {$INCLUDE name}) are not read. Their names, and
// the undefined names that decided to skip a branch holding code, are kept
// to tell what the import did not read. A conditional left open at the end
// of the text, and an {$IF} nested deeper than kMaxSourceNesting, refuse the
// source.
#include "import/pascal_skipped_code.h"
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
    // The names, not defined where they were read, that decided to skip a
    // branch holding code, in order.
    const QStringList& UndefinedNames() const { return Undefined; }
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
        // The undefined names its conditions read while no branch was taken.
        std::vector<std::string> Undefined;
    };

    bool Active() const { return Branches.empty() || Branches.back().Active; }
    // Acts on the directive whose text (after '$', without the closing
    // delimiter) is Body. Returns the string literal that takes the
    // directive's place, for one that inserts a text ({$I %DATE%}).
    std::string Directive(std::string_view Body);
    // Names: the undefined ones its condition read.
    void Open(const std::string& Name, bool Condition, std::vector<std::string> Names);
    void Alternative(bool Condition, std::vector<std::string> Names);
    // A branch of the innermost conditional begins: the code in it is looked
    // at when it is the outermost one skipped.
    void BranchStarts(const TBranch& Branch);
    // Notes the names that decided to skip the branch that ends, when it
    // held code.
    void BranchEnds(const TBranch& Branch);
    // A lexeme outside directives, kept or skipped.
    void NoteToken(std::string_view Lexeme);
    // The value of an {$IF} expression; nothing when it cannot be worked out
    // or refuses the source. Names receives those defined() asks about that
    // are not defined.
    std::optional<bool> Evaluate(std::string_view Expression, std::vector<std::string>& Names);
    // {$MODE Name}: the symbol of the old mode goes, that of the new comes.
    void SetMode(const std::string& Name);
    void Fail(int At, const QString& What);

    std::map<std::string, std::string> Symbols; // upper case -> value
    bool Nested = false;
    std::vector<TBranch> Branches;
    QStringList Includes;
    QStringList Undefined;
    TPascalCodePlace Place;                    // of the text read
    std::optional<TPascalSkippedCode> Skipped; // the outermost branch being skipped
    int Line = 1;                              // of the directive being read
    QString ErrorText;
    int ErrorAt = -1;
};

} // namespace tvx
