#pragma once
// What the user is told when a chart file does not open: the file's name,
// then why.
#include "chart/chart_xml.h"

namespace tvx {

// FileName was refused by the chart reader for Fault. The file is looked at
// again to tell why: it cannot be read at all (missing, no regular file, no
// permission), or it holds no chart, perhaps one in a form the editor writes
// but does not open (the old records, the annotated Pascal text).
QString ChartOpenFailure(const QString& FileName, TChartReadFault Fault);

} // namespace tvx
