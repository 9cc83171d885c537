#pragma once
// What a chart window knows of the file its chart was last read from or
// written to, and the one rule of Save built on it: Save writes without
// asking only that file, in the form it was read or written in, and only
// while nobody has changed it on disk since.
#include "platform/file_identity.h"

#include <QByteArray>
#include <QString>
#include <cstdint>

namespace tvx {

// The three forms a chart is saved in; the editor opens only the first.
enum class TChartForm : std::uint8_t { Xml, Annotated, Legacy };

struct TChartFileState {
    QString Name; // empty: the chart was never read from or written to a file
    TChartForm Form = TChartForm::Xml;
    TFileIdentity Identity; // of the file right after it was read or written
    // Edited since the chart was made, opened, imported or saved, and a
    // digest of the chart as it was then (an edit undone is no change).
    bool Changed = false;
    QByteArray Unchanged;

    bool Known() const { return !Name.isEmpty(); }
    // The chart is what FileName, whose identity was Before, held in Form.
    void Read(const QString& FileName, TChartForm ChartForm, const TFileIdentity& Before);
    // The chart is now what FileName holds in Form.
    void Written(const QString& FileName, TChartForm ChartForm);
};

// The file and form Save writes for a window captioned Caption: chart XML
// for ".fml", annotated Pascal text for ".fc2", the old records under the
// name with ".tvx" for any other extension.
struct TSaveTarget {
    QString Name;
    TChartForm Form = TChartForm::Xml;
};
TSaveTarget SaveTargetOf(const QString& Caption);

// The question Save asks before it writes Target for a chart last read or
// written as File (which must be Known): it names the file and says why;
// empty when Save may write at once.
QString SaveQuestion(const TChartFileState& File, const TSaveTarget& Target);

} // namespace tvx
