#pragma once
// Checks that an import lost no statement: the statements the grammar
// reduced in a source, counted on a parse tree of its own, against the
// blocks of the charts the import made.
//
//     TTVXParseChartes Import(slPascal); ... Import.Parse(Report);
//     const TStatementTally Tally = TallyStatements(Import, CountBlocks(Charts));
//     EXPECT_EQ(Tally.Fault(), "");
//
// A statement either makes one block (an assignment, a call, an if, a loop)
// or by its kind makes none (a declaration, a goto, a compound statement, a
// case whose arms are flattened into the chart); what stands inside the
// second kind is counted on its own. A C declaration whose type is a name
// alone on its line is a macro from a header used as a statement without its
// ';' that swallowed the statement after it: it counts as a statement lost.
// Statements inside expressions (the body
// of an anonymous function) stay in the text of the block that holds them
// and are not counted.
#include "chart/fc_list.h"
#include "import/import_driver.h"
#include <QString>
#include <memory>
#include <vector>

namespace tvx::test {

struct TStatementTally {
    bool Parsed = false;  // the source was parsed again and accepted
    int WithBlock = 0;    // statements that make a block each
    int WithoutBlock = 0; // statements that make none by their kind
    int Blocks = 0;       // blocks of the charts, roots not counted

    int Statements() const { return WithBlock + WithoutBlock; }
    // Empty when every statement that makes a block has one; else what
    // differs, with the counts.
    QString Fault() const;
};

// The blocks of the charts, roots not counted.
int CountBlocks(const std::vector<std::unique_ptr<TFCList>>& Charts);
int CountBlocks(const TFCList& Chart);

// Parses the text Import parsed (after its preprocessing) with its grammar
// and language again and sets the tally against Blocks, the blocks of the
// charts that Import made.
TStatementTally TallyStatements(const TTVXParseChartes& Import, int Blocks);

} // namespace tvx::test
