#pragma once
// Writing a chart as pictures, one file per page: the pages are cut from the
// chart picture the chart window composed last, so nothing is laid out again.
#include <QString>
#include <QStringList>

namespace tvx {

class TBitmap;
class TFCList;

enum class TPictureFormat { Bmp, Gif };

// The file of page N: Name with "_Part_" + N put before its extension, so
// /a/chart.bmp and page 2 give /a/chart_Part_2.bmp.
QString MakePartFileName(const QString& Name, int N);

// The page files an export of Chart to Name writes, page 0 first.
QStringList PagePictureNames(const TFCList& Chart, const QString& Name);

// What an export wrote, and why it stopped when it did not finish.
struct TPictureExportResult {
    QStringList Written;
    QString Error; // empty when every page was written
};

// Writes every page of Chart cut from ChartPicture (the picture composed by
// the last repaint) to the files PagePictureNames gives: BMP as the picture
// is, GIF reduced to the 16 standard colours. Existing page files are
// replaced; each file is replaced only once its new content is complete. A
// page of no height has no picture and writes no file. The first file that
// cannot be written ends the export; the pages written before it stay.
// Chart.ChartBitmap is left as it was.
TPictureExportResult ExportPagePictures(TFCList& Chart, TBitmap& ChartPicture, const QString& Name,
                                        TPictureFormat Format);

} // namespace tvx
