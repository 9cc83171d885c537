#pragma once
// Helpers of the C import tests: importing a text or a corpus file with the
// compiled C grammar. Charts are written with Outline() of the Pascal
// helpers: "7:root{0:a = 1; 4:x>0{0:x--}}".
#include "import/pascal_import_support.h"

namespace tvx::test {

// The compiled C grammar tables of the build.
QString CGrammarFile();

struct TCImport {
    bool Ok = false;
    TErrorReport Report;
    std::vector<std::unique_ptr<TFCList>> Charts;
    // The statements of the source against the blocks of the charts.
    TStatementTally Tally;

    QStringList Captions() const;
    // The outline of chart I; "no chart" when there is none.
    QString Outline(int I = 0) const;
};

TCImport ImportC(const QString& Text);
// Imports a file of tests/import/corpus/c/.
TCImport ImportCCorpus(const QString& Name);

} // namespace tvx::test
