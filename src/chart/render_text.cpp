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

// Lines at CR LF, CR or LF, at most Limit of them (More tells that more
// followed); a break at the very end adds no empty line and an empty text
// has none.
QStringList SplitLines(const QString& Text, qsizetype Limit, bool& More) {
    QStringList Lines;
    More = false;
    qsizetype Start = 0;
    const qsizetype N = Text.size();
    for (qsizetype I = 0; I < N; ++I) {
        QChar C = Text[I];
        if (C == u'\r' || C == u'\n') {
            if (Lines.size() == Limit) {
                More = true;
                return Lines;
            }
            Lines.append(Text.mid(Start, I - Start));
            if (C == u'\r' && I + 1 < N && Text[I + 1] == u'\n') {
                ++I;
            }
            Start = I + 1;
        }
    }
    if (Start < N) {
        if (Lines.size() == Limit) {
            More = true;
        } else {
            Lines.append(Text.mid(Start));
        }
    }
    return Lines;
}

// Ends a line or a text that is not drawn whole.
const QString Ellipsis = QStringLiteral("\u2026");

// The first Count characters of Line, a character made of two UTF-16 units
// kept whole or left out.
QString Head(const QString& Line, qsizetype Count) {
    if (Count > 0 && Count < Line.size() && Line[Count - 1].isHighSurrogate()) {
        --Count;
    }
    return Line.left(Count);
}

// Line as it is drawn: a line wider than kMaxTextWidth is cut to the
// characters that fit with the ellipsis after them. A visible character is
// at least a pixel wide, so a line of more characters than that is cut
// before it is measured (a line of a million characters takes long to
// measure, and memory).
QString FittedLine(const TCanvas& Canvas, const QString& Line) {
    const bool Long = Line.size() > kMaxTextWidth;
    const QString Measured = Long ? Head(Line, kMaxTextWidth) : Line;
    if (!Long && Canvas.TextWidth(Measured) <= kMaxTextWidth) {
        return Line;
    }
    qsizetype Fits = 0; // characters that fit with the ellipsis
    qsizetype Over = Measured.size() + 1;
    while (Over - Fits > 1) {
        const qsizetype Mid = Fits + (Over - Fits) / 2;
        if (Canvas.TextWidth(Head(Measured, Mid) + Ellipsis) <= kMaxTextWidth) {
            Fits = Mid;
        } else {
            Over = Mid;
        }
    }
    return Head(Measured, Fits) + Ellipsis;
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

    // No text is narrower or lower than the two labels, so figures never
    // shrink below the size of the yes and no texts drawn beside them.
    TSize Yes = Canvas.TextExtent(FittedLine(Canvas, YesLabel));
    TSize No = Canvas.TextExtent(FittedLine(Canvas, NoLabel));
    int W = std::max(Yes.Width, No.Width);
    int LineH = std::max(Yes.Height, No.Height);
    // Only the lines that fit in kMaxTextHeight are measured and drawn, the
    // last of them an ellipsis when more follow; then only as many as fit in
    // kMaxTextArea, now that the width is known.
    const auto LinesFitting = [&](long long Area) {
        return std::max<qsizetype>(1, qsizetype(Area / std::max(LineH, 1)));
    };
    bool More = false;
    QStringList Lines = SplitLines(Text, LinesFitting(kMaxTextHeight), More);
    for (QString& Line : Lines) {
        Line = FittedLine(Canvas, Line);
        TSize Size = Canvas.TextExtent(Line);
        W = std::max(W, Size.Width);
        LineH = std::max(LineH, Size.Height);
    }
    const qsizetype Fitting =
        LinesFitting(std::min<long long>(kMaxTextHeight, W > 0 ? kMaxTextArea / W : kMaxTextArea));
    if (Lines.size() > Fitting) {
        Lines.resize(Fitting);
        More = true;
    }
    if (More) {
        Lines.back() = Ellipsis;
    }
    const int Count = std::max(int(Lines.size()), 1);
    Bitmap.SetSize(W, Count * LineH);
    for (int I = 0; I < int(Lines.size()); ++I) {
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
