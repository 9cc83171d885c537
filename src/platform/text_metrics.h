#pragma once
// How text is measured and drawn. The canvas never asks a font for sizes
// directly: it goes through the provider installed here, so that tests can put
// in metrics that do not depend on the fonts a machine happens to have (every
// character the same width, one line height) and still pin exact layout figures.
#include "platform/font.h"
#include <QFont>
#include <QString>
#include <memory>

class QPainter;
class QRect;

namespace tvx {

struct TSize {
    int Width = 0;
    int Height = 0;
    bool operator==(const TSize&) const = default;
};

// The Qt font that draws a TFont. Sizes are turned into pixels at 96 dots per
// inch, so text has the same size on every device and image.
QFont ToQFont(const TFont& Font);

class TTextMetrics {
public:
    virtual ~TTextMetrics() = default;
    // Size of one line of text: advance width and line height. An empty text is
    // one line high and 0 wide.
    virtual TSize TextExtent(const TFont& Font, const QString& Text) const = 0;
    // Draws one line of text into Cell, the box TextExtent gave for it, in the
    // font's colour. The painter's clip is already set by the caller.
    virtual void DrawText(QPainter& Painter, const QRect& Cell, const TFont& Font,
                          const QString& Text) const = 0;
    // A provider that measures and draws exactly as this one does, for use on
    // another thread while this one goes on being used here.
    virtual std::unique_ptr<TTextMetrics> CloneForThread() const = 0;
};

// Measures and draws with the real font.
class TFontTextMetrics : public TTextMetrics {
public:
    TFontTextMetrics();
    ~TFontTextMetrics() override;
    TSize TextExtent(const TFont& Font, const QString& Text) const override;
    void DrawText(QPainter& Painter, const QRect& Cell, const TFont& Font,
                  const QString& Text) const override;
    std::unique_ptr<TTextMetrics> CloneForThread() const override;

private:
    // The Qt font, its metrics and the widths of the texts measured in it, for
    // the font used last: a chart's texts are all in one font, and each is
    // measured more than once (to size its picture, then to centre it; the
    // labels with every text).
    struct TLastFont;
    const TLastFont& Use(const TFont& Font) const;
    mutable std::unique_ptr<TLastFont> FLast;
};

// Every character CharWidth pixels wide, every line LineHeight pixels high,
// whatever the font. Text is still drawn with the real font, centred in the
// measured box and clipped to it, so pictures stay readable.
class TFixedTextMetrics : public TTextMetrics {
public:
    explicit TFixedTextMetrics(int CharWidth = 8, int LineHeight = 16);
    TSize TextExtent(const TFont& Font, const QString& Text) const override;
    void DrawText(QPainter& Painter, const QRect& Cell, const TFont& Font,
                  const QString& Text) const override;
    std::unique_ptr<TTextMetrics> CloneForThread() const override;
    int CharWidth() const { return FCharWidth; }
    int LineHeight() const { return FLineHeight; }

private:
    int FCharWidth;
    int FLineHeight;
};

// The provider in use: the one installed for the calling thread (see
// TThreadTextMetrics), else the one installed for the program, else the
// real-font one. Only the thread that installs the program's provider may
// use it or the real-font one; other threads draw text with a thread provider.
const TTextMetrics& CurrentTextMetrics();

// Installs Provider (nullptr goes back to the real fonts) and returns the one
// that was installed before. The caller keeps ownership and must keep the
// provider alive while it is installed; TTextMetricsGuard does both.
const TTextMetrics* SetTextMetricsProvider(const TTextMetrics* Provider);

// Installs a provider for the guard's lifetime and restores the previous one.
class TTextMetricsGuard {
public:
    explicit TTextMetricsGuard(std::unique_ptr<TTextMetrics> Provider);
    // Installs TFixedTextMetrics(CharWidth, LineHeight).
    TTextMetricsGuard(int CharWidth, int LineHeight);
    ~TTextMetricsGuard();
    TTextMetricsGuard(const TTextMetricsGuard&) = delete;
    TTextMetricsGuard& operator=(const TTextMetricsGuard&) = delete;

private:
    std::unique_ptr<TTextMetrics> FProvider;
    const TTextMetrics* FPrevious;
};

// Installs, for the calling thread and the guard's lifetime, a copy of
// Provider made for this thread (CloneForThread).
class TThreadTextMetrics {
public:
    explicit TThreadTextMetrics(const TTextMetrics& Provider);
    ~TThreadTextMetrics();
    TThreadTextMetrics(const TThreadTextMetrics&) = delete;
    TThreadTextMetrics& operator=(const TThreadTextMetrics&) = delete;

private:
    std::unique_ptr<TTextMetrics> FProvider;
    const TTextMetrics* FPrevious;
};

} // namespace tvx
