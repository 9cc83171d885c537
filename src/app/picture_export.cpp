#include "app/picture_export.h"

#include "app/chart_file_names.h"
#include "chart/fc_list.h"
#include "chart/pages.h"
#include "platform/atomic_file.h"
#include "platform/bitmap.h"
#include "platform/exception.h"
#include "platform/gif_writer.h"

#include <QBuffer>
#include <new>
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

// Why page N (written to FileName) cannot be a picture file of Format, or
// nothing when it can: a GIF holds at most 65535 pixels a side, and a page
// is written from one picture in memory, of at most TBitmap::kMaxWholeBytes.
QString PageTooLarge(const TFCList& Chart, int N, const QString& FileName, TPictureFormat Format) {
    const TPageArea area = PageArea(Chart, N);
    const TPixelFormat format = Chart.PageBitmap->PixelFormat();
    const int pixelBytes = format == pf15bit || format == pf16bit ? 2 : format == pf24bit ? 3 : 4;
    const long long bytes = static_cast<long long>(area.Width) * area.Height * pixelBytes;
    const bool gifTooLarge =
        Format == TPictureFormat::Gif && (area.Width > kMaxGifSide || area.Height > kMaxGifSide);
    if (!gifTooLarge && bytes <= TBitmap::kMaxWholeBytes) {
        return QString();
    }
    return QStringLiteral("Page %1 (%2) is %3 x %4 pixels, too large for %5; it was not written. "
                          "Page breaks cut the chart into smaller pages.")
        .arg(N)
        .arg(FileName)
        .arg(area.Width)
        .arg(area.Height)
        .arg(gifTooLarge
                 ? QStringLiteral("a GIF picture (at most %1 pixels a side)").arg(kMaxGifSide)
                 : QStringLiteral("one picture in memory"));
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
        const TPageArea area = PageArea(Chart, n);
        if (area.Width <= 0 || area.Height <= 0) {
            continue;
        }
        result.Error = PageTooLarge(Chart, n, names[n], Format);
        if (!result.Error.isEmpty()) {
            break;
        }
        try {
            const TBitmap& page = GetPageBitmap(Chart, n);
            if (Format == TPictureFormat::Gif) {
                WriteGif(page, names[n]);
            } else {
                WriteBmp(page, names[n]);
            }
        } catch (const std::bad_alloc&) {
            result.Error = QStringLiteral("Not enough memory to write page %1 (%2); it was not "
                                          "written.")
                               .arg(n)
                               .arg(names[n]);
        } catch (const std::exception& e) {
            const auto* own = dynamic_cast<const Exception*>(&e);
            result.Error = own != nullptr ? own->message() : QString::fromUtf8(e.what());
        }
        if (!result.Error.isEmpty()) {
            break;
        }
        result.Written.append(names[n]);
    }
    // The page picture is needed no more; a large one would hold its memory.
    Chart.PageBitmap->SetSize(0, 0);
    return result;
}

} // namespace tvx
