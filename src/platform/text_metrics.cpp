#include "platform/text_metrics.h"
#include <QFontMetrics>
#include <QHash>
#include <QPainter>
#include <QRect>
#include <algorithm>
#include <cmath>

namespace tvx {

QFont ToQFont(const TFont& Font) {
    QFont Result(Font.Name);
    // A negative size is a character height in pixels, as font dialogs of the
    // settings file may store it.
    int Pixels = Font.Size > 0 ? int(std::lround(Font.Size * 96.0 / 72.0)) : -Font.Size;
    Result.setPixelSize(std::max(1, Pixels == 0 ? 11 : Pixels));
    Result.setBold((Font.Style & fsBold) != 0);
    Result.setItalic((Font.Style & fsItalic) != 0);
    Result.setUnderline((Font.Style & fsUnderline) != 0);
    Result.setStrikeOut((Font.Style & fsStrikeOut) != 0);
    return Result;
}

struct TFontTextMetrics::TLastFont {
    explicit TLastFont(const TFont& Font) : Font(Font), QtFont(ToQFont(Font)), Metrics(QtFont) {}
    TFont Font;
    QFont QtFont;
    QFontMetrics Metrics;
    QHash<QString, int> Widths;
};

TFontTextMetrics::TFontTextMetrics() = default;
TFontTextMetrics::~TFontTextMetrics() = default;

const TFontTextMetrics::TLastFont& TFontTextMetrics::Use(const TFont& Font) const {
    if (FLast == nullptr || !(FLast->Font == Font)) {
        FLast = std::make_unique<TLastFont>(Font);
    }
    return *FLast;
}

TSize TFontTextMetrics::TextExtent(const TFont& Font, const QString& Text) const {
    Use(Font);
    TLastFont& Last = *FLast;
    auto Known = Last.Widths.constFind(Text);
    if (Known == Last.Widths.constEnd()) {
        if (Last.Widths.size() >= 4096) {
            Last.Widths.clear();
        }
        Known = Last.Widths.insert(Text, Last.Metrics.horizontalAdvance(Text));
    }
    return TSize{*Known, Last.Metrics.height()};
}

void TFontTextMetrics::DrawText(QPainter& Painter, const QRect& Cell, const TFont& Font,
                                const QString& Text) const {
    const TLastFont& Last = Use(Font);
    Painter.setFont(Last.QtFont);
    Painter.setPen(ToQColor(Font.Color));
    Painter.drawText(QPoint(Cell.left(), Cell.top() + Last.Metrics.ascent()), Text);
}

std::unique_ptr<TTextMetrics> TFontTextMetrics::CloneForThread() const {
    return std::make_unique<TFontTextMetrics>(); // it keeps nothing but caches
}

TFixedTextMetrics::TFixedTextMetrics(int CharWidth, int LineHeight)
    : FCharWidth(std::max(0, CharWidth)), FLineHeight(std::max(0, LineHeight)) {}

TSize TFixedTextMetrics::TextExtent(const TFont&, const QString& Text) const {
    return TSize{FCharWidth * int(Text.size()), FLineHeight};
}

void TFixedTextMetrics::DrawText(QPainter& Painter, const QRect& Cell, const TFont& Font,
                                 const QString& Text) const {
    Painter.save();
    Painter.setClipRect(Cell, Qt::IntersectClip);
    Painter.setFont(ToQFont(Font));
    Painter.setPen(ToQColor(Font.Color));
    Painter.drawText(Cell, Qt::AlignCenter | Qt::TextSingleLine, Text);
    Painter.restore();
}

std::unique_ptr<TTextMetrics> TFixedTextMetrics::CloneForThread() const {
    return std::make_unique<TFixedTextMetrics>(*this);
}

namespace {

const TTextMetrics* Installed = nullptr;
thread_local const TTextMetrics* InstalledForThread = nullptr;

} // namespace

const TTextMetrics& CurrentTextMetrics() {
    static const TFontTextMetrics RealFonts;
    if (InstalledForThread != nullptr) {
        return *InstalledForThread;
    }
    return Installed != nullptr ? *Installed : RealFonts;
}

const TTextMetrics* SetTextMetricsProvider(const TTextMetrics* Provider) {
    const TTextMetrics* Previous = Installed;
    Installed = Provider;
    return Previous;
}

TTextMetricsGuard::TTextMetricsGuard(std::unique_ptr<TTextMetrics> Provider)
    : FProvider(std::move(Provider)), FPrevious(SetTextMetricsProvider(FProvider.get())) {}

TTextMetricsGuard::TTextMetricsGuard(int CharWidth, int LineHeight)
    : TTextMetricsGuard(std::make_unique<TFixedTextMetrics>(CharWidth, LineHeight)) {}

TTextMetricsGuard::~TTextMetricsGuard() {
    SetTextMetricsProvider(FPrevious);
}

TThreadTextMetrics::TThreadTextMetrics(const TTextMetrics& Provider)
    : FProvider(Provider.CloneForThread()), FPrevious(InstalledForThread) {
    InstalledForThread = FProvider.get();
}

TThreadTextMetrics::~TThreadTextMetrics() {
    InstalledForThread = FPrevious;
}

} // namespace tvx
