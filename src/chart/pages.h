#pragma once
// A chart cut into pages for the picture export: page breaks record in PageY
// where the chart is cut, and each page is the band of the chart picture
// between two cuts.

namespace tvx {

class TFCList;
class TBitmap;

// PageBreakCount + 1.
int PageCount(const TFCList& Chart);

// Where page N lies in the chart picture: as wide as the root's picture,
// between the cuts N and N + 1 (see GetPageBitmap).
struct TPageArea {
    int Top = 0;
    int Width = 0;
    int Height = 0;
};
TPageArea PageArea(const TFCList& Chart, int N);

// Cuts page N (from 0) out of Chart.ChartBitmap into Chart.PageBitmap and
// returns it. The cuts are 0, the PageY of every page break and the height of
// the root's picture, in ascending order; the page is as wide as the root's
// picture. A page number outside 0 to PageCount - 1 gives page 0. The page
// keeps the pixel format it already has.
TBitmap& GetPageBitmap(TFCList& Chart, int N);

} // namespace tvx
