#pragma once
// Fixture for layout and drawing tests: a settings object on a temporary
// program directory (installed as MainSettings), fixed text metrics so every
// figure is exact whatever fonts the machine has, and a chart holding its
// root, with helpers that build branches in order and read pictures back.
//
// Default metrics: every character 10 pixels wide, lines 16 high. The labels
// "Да" and "Нет" then measure 30 x 16, so every rendered text is at least
// 30 wide; "abcd" measures 40 x 16.
#include "chart/fc_list.h"
#include "common/chart_append.h"
#include "platform/bitmap.h"
#include "platform/text_metrics.h"
#include "settings/main_settings.h"
#include <QImage>
#include <QString>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

namespace tvx {

class LayoutTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(Dir.isValid());
        Settings = std::make_unique<TMainSettings>(Dir.path() + "/");
        PreviousSettings = MainSettings;
        MainSettings = Settings.get();
        UseMetrics(10, 16);
        Root = Chart.AddBlock(nullptr, bkRoot, -1, QStringLiteral("Demo"), nullptr);
    }

    void TearDown() override {
        Metrics.reset();
        MainSettings = PreviousSettings;
    }

    // Replaces the fixed metrics: every character CharWidth wide, lines
    // LineHeight high.
    void UseMetrics(int CharWidth, int LineHeight) {
        Metrics.reset();
        Metrics = std::make_unique<TTextMetricsGuard>(CharWidth, LineHeight);
    }

    // Adds a block at the end of branch `Branch` of `Owner`.
    TFlowBlock* Append(TFlowBlock* Owner, int Branch, TBlockKind Kind, const QString& Text) {
        return AppendBlock(Chart, Owner, Branch, Kind, Text);
    }
    // Adds a block at the end of the root chain.
    TFlowBlock* Append(TBlockKind Kind, const QString& Text) { return Append(Root, 0, Kind, Text); }

    // One layout pass over the whole chart.
    void Pass() { Chart.DrawBlock(Root); }

    // Pixel of a picture as a colour value ($00BBGGRR); clInvalidPixel outside.
    static TColor PixelAt(const TBitmap& Picture, int X, int Y) {
        return Picture.Canvas().Pixel(X, Y);
    }
    static TColor PixelAt(const TFlowBlock* Block, int X, int Y) {
        return PixelAt(*Block->Bitmap, X, Y);
    }
    // The picture's pixels as 32-bit RGB, for whole-picture comparisons.
    static QImage Pixels(const TBitmap& Picture) {
        return Picture.Image().convertToFormat(QImage::Format_RGB32);
    }

    QTemporaryDir Dir;
    std::unique_ptr<TMainSettings> Settings;
    TMainSettings* PreviousSettings = nullptr;
    std::unique_ptr<TTextMetricsGuard> Metrics;
    TFCList Chart;
    TFlowBlock* Root = nullptr;
};

} // namespace tvx
