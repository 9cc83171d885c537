#pragma once
// Helpers of the Pascal import tests: importing a text with the compiled
// Pascal grammar and writing a chart as one line of text.
#include "chart/fc_list.h"
#include "import/import_driver.h"
#include "import/statement_tally.h"
#include "support/print_qstring.h"
#include <QString>
#include <memory>
#include <vector>

namespace tvx::test {

// The compiled grammar tables of the build.
QString PascalGrammarFile();

struct TPascalImport {
    bool Ok = false;
    TErrorReport Report;
    std::vector<std::unique_ptr<TFCList>> Charts;
    QStringList Log;
    // The statements of the source against the blocks of the charts.
    TStatementTally Tally;

    // The captions of the charts, in order.
    QStringList Captions() const;
    // The outline of the chart with that caption; "no chart" when none.
    QString Outline(const QString& Caption) const;
};

// Imports Text as a Pascal source.
TPascalImport ImportPascal(const QString& Text, bool KeepLog = false);

// A chart as one line: every block as kind:text, the chains of its branches
// in braces separated by " | ", blocks of one chain separated by "; ". An
// empty branch is written as nothing: "4:x>0{}".
QString Outline(const TFCList& Chart);

// Checks the links of a chart: levels, parents, positions. Empty when sound,
// else what is wrong.
QString ChartFault(const TFCList& Chart);

} // namespace tvx::test
