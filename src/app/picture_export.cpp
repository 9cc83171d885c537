#include "app/picture_export.h"

#include "app/chart_file_names.h"
#include "chart/fc_list.h"
#include "chart/pages.h"
#include "platform/atomic_file.h"
#include "platform/bitmap.h"
#include "platform/exception.h"
#include "platform/gif_writer.h"

#include <QBuffer>
#include <utility>

namespace tvx {
namespace {

// Lends the window's picture to the chart for the cutting of the pages and
// gives the chart its own picture back afterwards, whatever happens between.
class TLentPicture {
public:
    TLentPicture(TFCList& Chart, TBitmap& Picture) : Chart(Chart) {
        Own = std::exchange(Chart.ChartBitmap, std::unique_ptr<TBitmap>(&Picture));
    }
    ~TLentPicture() {
        (void)Chart.ChartBitmap.release(); // the window's, not the chart's
        Chart.ChartBitmap = std::move(Own);
    }
    TLentPicture(const TLentPicture&) = delete;
    TLentPicture& operator=(const TLentPicture&) = delete;

private:
    TFCList& Chart;
    std::unique_ptr<TBitmap> Own;
};

void WriteBmp(const TBitmap& Page, const QString& FileName) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    const QString error = Page.Image().save(&buffer, "BMP")
                              ? WriteFileAtomically(FileName, bytes)
                              : QStringLiteral("the picture cannot be encoded");
    if (!error.isEmpty()) {
        throw Exception(QStringLiteral("Unable to write to %1: %2").arg(FileName, error));
    }
}

void WriteGif(const TBitmap& Page, const QString& FileName) {
    TGIFImage gif;
    gif.Assign(Page);
    gif.SaveToFile(FileName);
}

} // namespace

QString MakePartFileName(const QString& Name, int N) {
    const QString ext = ExtensionOf(Name);
    return Name.left(Name.size() - ext.size()) + QStringLiteral("_Part_") + QString::number(N) +
           ext;
}

QStringList PagePictureNames(const TFCList& Chart, const QString& Name) {
    QStringList names;
    for (int n = 0; n < PageCount(Chart); ++n) {
        names.append(MakePartFileName(Name, n));
    }
    return names;
}

TPictureExportResult ExportPagePictures(TFCList& Chart, TBitmap& ChartPicture, const QString& Name,
                                        TPictureFormat Format) {
    TPictureExportResult result;
    if (!Chart.PageBitmap) {
        Chart.PageBitmap = std::make_unique<TBitmap>();
    }
    const TLentPicture lent(Chart, ChartPicture);
    const QStringList names = PagePictureNames(Chart, Name);
    for (int n = 0; n < names.size(); ++n) {
        const TBitmap& page = GetPageBitmap(Chart, n);
        if (page.Empty()) {
            continue;
        }
        try {
            if (Format == TPictureFormat::Gif) {
                WriteGif(page, names[n]);
            } else {
                WriteBmp(page, names[n]);
            }
        } catch (const std::exception& e) {
            const auto* own = dynamic_cast<const Exception*>(&e);
            result.Error = own != nullptr ? own->message() : QString::fromUtf8(e.what());
            break;
        }
        result.Written.append(names[n]);
    }
    return result;
}

} // namespace tvx
