#include "chart/chart_texts.h"
#include "chart/fc_list.h"
#include "chart/layout_call.h"
#include "chart/layout_session.h"
#include "platform/bitmap.h"
#include "settings/main_settings.h"
#include "support/wide_text.h"
#include <QStringList>
#include <algorithm>

namespace tvx {

namespace {

// Lines at CR LF, CR or LF; a break at the very end adds no empty line and an
// empty text has none.
QStringList SplitLines(const QString& Text) {
    QStringList Lines;
    int Start = 0;
    const int N = int(Text.size());
    for (int I = 0; I < N; ++I) {
        QChar C = Text[I];
        if (C == u'\r' || C == u'\n') {
            Lines.append(Text.mid(Start, I - Start));
            if (C == u'\r' && I + 1 < N && Text[I + 1] == u'\n') {
                ++I;
            }
            Start = I + 1;
        }
    }
    if (Start < N) {
        Lines.append(Text.mid(Start));
    }
    return Lines;
}

} // namespace

void DrawTextPicture(TBitmap& Bitmap, const QString& Text, const QString& YesLabel,
                     const QString& NoLabel) {
    if (MainSettings == nullptr) {
        return;
    }
    const TMainSettings& S = *MainSettings;
    TCanvas& Canvas = Bitmap.Canvas();
    Bitmap.SetPixelFormat(TPixelFormat(S.PixelFormat));
    Canvas.Font = S.FontBlock;
    Canvas.Brush.Color = clWhite;
    Canvas.Brush.Style = bsSolid;
    Canvas.FillRect(Canvas.ClipRect());

    const QStringList Lines = SplitLines(Text);
    // No text is narrower or lower than the two labels, so figures never
    // shrink below the size of the yes and no texts drawn beside them.
    TSize Yes = Canvas.TextExtent(YesLabel);
    TSize No = Canvas.TextExtent(NoLabel);
    int W = std::max(Yes.Width, No.Width);
    int LineH = std::max(Yes.Height, No.Height);
    for (const QString& Line : Lines) {
        TSize Size = Canvas.TextExtent(Line);
        W = std::max(W, Size.Width);
        LineH = std::max(LineH, Size.Height);
    }
    const int Count = std::max(int(Lines.size()), 1);
    const long long H = static_cast<long long>(Count) * LineH;
    // Only the area is bounded here: a text picture is not a chart position.
    int CappedH = int(std::min<long long>(H, W > 0 ? kMaxPicturePixels / W : H));
    Bitmap.SetSize(W, std::min(CappedH, kLayoutLimit));
    for (int I = 0; I < int(Lines.size()) && I * LineH < Bitmap.Height(); ++I) {
        DrawWideText(Canvas, Rect(0, I * LineH, W, (I + 1) * LineH), Lines[I]);
    }
}

void TFCList::RenderText(TBitmap& Bitmap, const QString& Text) const {
    if (MainSettings == nullptr) {
        return;
    }
    const TMainSettings& S = *MainSettings;
    TLayoutSession* Session = TLayoutSession::Current();
    const TBitmap* Kept = Session != nullptr ? Session->FindText(Text) : nullptr;
    if (Kept == nullptr && Session != nullptr && TTextsAhead::Current() != nullptr) {
        if (std::shared_ptr<const TBitmap> Ahead = TTextsAhead::Current()->Take(Text)) {
            Session->KeepText(Text, Ahead);
            Kept = Ahead.get();
        }
    }
    if (Kept != nullptr) {
        Bitmap.Assign(*Kept);
        TCanvas& Canvas = Bitmap.Canvas();
        Canvas.Font = S.FontBlock;
        Canvas.Brush.Color = clWhite;
        Canvas.Brush.Style = bsSolid;
        return;
    }
    auto Label = [&](const char* Id) {
        return Session != nullptr ? Session->ServText(Id)
                                  : S.ServPool->GetString(QString::fromLatin1(Id));
    };
    DrawTextPicture(Bitmap, Text, Label("sm_yes"), Label("sm_no"));
    if (Session != nullptr) {
        Session->KeepText(Text, Bitmap);
    }
}

} // namespace tvx
