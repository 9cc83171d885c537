#include "chart/layout_call.h"
#include "chart/layout_session.h"
#include "settings/main_settings.h"
#include <algorithm>
#include <cmath>

namespace tvx {

namespace {

// A chain longer than the chart can only come from links that run in a
// circle (a damaged document); the walk stops there instead of looping.
int ChainLimit(const TFCList& Chart) {
    return Chart.Count() + 1;
}

int ParentAbsX(const TFlowBlock& Block) {
    return Block.Parent != nullptr ? Block.Parent->AbsX : 0;
}

int ParentAbsY(const TFlowBlock& Block) {
    return Block.Parent != nullptr ? Block.Parent->AbsY : 0;
}

} // namespace

void SetPictureSize(TBitmap& Bitmap, int Width, int Height) {
    const int W = std::clamp(Width, 0, kLayoutLimit);
    int H = std::clamp(Height, 0, kLayoutLimit);
    if (W > 0 && static_cast<long long>(W) * H > kMaxPicturePixels) {
        H = int(kMaxPicturePixels / W);
    }
    Bitmap.SetSize(W, H);
}

TLayoutCall::TLayoutCall(TFCList& Chart, TFlowBlock& Block)
    : Chart(Chart), Block(Block), FSettings(*MainSettings) {}

const TMainSettings& TLayoutCall::Settings() const {
    return FSettings;
}

TChainExtent TLayoutCall::LayoutChain(TFlowBlock* Head) {
    const TMainSettings& S = Settings();
    TChainExtent E{S.pm_shakeX, S.pm_shakeY, 0, 0};
    long long Height = 0;
    int Steps = 0;
    for (TFlowBlock* B = Head; B != nullptr && Steps < ChainLimit(Chart); B = B->Next, ++Steps) {
        Chart.DrawBlock(B);
        E.Left =
            std::max(E.Left, ClampLayout(static_cast<long long>(B->LeftExtent) + S.pm_linedge));
        E.Right =
            std::max(E.Right, ClampLayout(static_cast<long long>(B->RightExtent) + S.pm_linedge));
        Height += B->GetHeight();
    }
    E.Height = ClampLayout(Height);
    E.Width = ClampLayout(static_cast<long long>(E.Left) + E.Right);
    return E;
}

void TLayoutCall::PlaceChain(int X, int Y, TFlowBlock* Head) {
    int Steps = 0;
    for (TFlowBlock* B = Head; B != nullptr && Steps < ChainLimit(Chart); B = B->Next, ++Steps) {
        const TFlowBlock& Owner = B->Parent != nullptr ? *B->Parent : Block;
        B->RelX = ClampLayout(static_cast<long long>(X) - B->LeftExtent);
        B->RelY = Y;
        B->AbsX = ClampLayout(static_cast<long long>(Owner.AbsX) + B->RelX);
        B->AbsY = ClampLayout(static_cast<long long>(Owner.AbsY) + B->RelY);
        Y = ClampLayout(static_cast<long long>(Y) + B->GetHeight());
    }
}

void TLayoutCall::ConnectSimpleBlock(int X) {
    const int G = Settings().pm_bcebce;
    Block.ExitY = ShapeHeight + G;
    DrawArrowLine(PenColor(), X, ShapeHeight, X, ShapeHeight + G);
    Block.LeftExtent = X;
    Block.RightExtent = X;
    Block.AbsX = ClampLayout(static_cast<long long>(ParentAbsX(Block)) + Block.RelX);
    Block.AbsY = ClampLayout(static_cast<long long>(ParentAbsY(Block)) + Block.RelY);
    Block.InRect = Rect(Block.AbsX, Block.AbsY - G, Block.AbsX + BmpW(), Block.AbsY - G + BmpH());
    Block.OutRect = Rect(Block.AbsX, Block.AbsY, Block.AbsX + BmpW(), Block.AbsY + BmpH());
}

void TLayoutCall::ConnectCompoundBlock(int X) {
    const int G = Settings().pm_bcebce;
    DrawArrowLine(PenColor(), X, BmpH() - G, X, BmpH());
    Block.AbsX = ClampLayout(static_cast<long long>(ParentAbsX(Block)) + Block.RelX);
    Block.AbsY = ClampLayout(static_cast<long long>(ParentAbsY(Block)) + Block.RelY);
    const int Flow = Block.AbsX + Block.LeftExtent;
    Block.InRect =
        Rect(Flow - ShapeWidth / 2, Block.AbsY, Flow + ShapeWidth / 2, Block.AbsY + ShapeHeight);
    Block.OutRect =
        Rect(Block.AbsX, Block.AbsY + BmpH() - G, Block.AbsX + BmpW(), Block.AbsY + BmpH());
}

TSlantSize TLayoutCall::SlantGeometry(const QString& Text, int ReferenceWidth) {
    const TMainSettings& S = Settings();
    TSize Size = MeasureText(Text);
    const long double A = AngleRadians(S.pm_ifangle);
    const int D = S.pm_bcetext / 2 + S.pm_linewid;
    const long double V = std::max(static_cast<long double>(D), D / std::sin(A));
    TSlantSize Result;
    Result.SlantWidth =
        2 * SideFloor(Size.Height / (2 * std::tan(A)) + V / std::cos(A) + Size.Width / 2.0L);
    Result.SlantHeight = SideFloor(std::tan(A) * ReferenceWidth);
    return Result;
}

TSize TLayoutCall::MeasureText(const QString& Text) {
    RenderText(TextBitmap, Text);
    return TSize{TextBitmap.Width(), TextBitmap.Height()};
}

void TLayoutCall::RenderText(TBitmap& Bitmap, const QString& Text) {
    Chart.RenderText(Bitmap, Text);
}

void TLayoutCall::DrawTextBitmap(int X, int Y) {
    Canvas().Draw(X, Y, TextBitmap);
}

QString TLayoutCall::ServText(const char* Id) const {
    if (TLayoutSession* Session = TLayoutSession::Current()) {
        return Session->ServText(Id);
    }
    return Settings().ServPool->GetString(QString::fromLatin1(Id));
}

void TLayoutCall::Line(int X1, int Y1, int X2, int Y2) {
    Canvas().MoveTo(X1, Y1);
    Canvas().LineTo(X2, Y2);
}

void TLayoutCall::DrawArrowLine(TColor Color, int X1, int Y1, int X2, int Y2) {
    Chart.DrawArrowLine(Block, Color, X1, Y1, X2, Y2);
}

void TLayoutCall::SetBitmapSize(int Width, int Height) {
    SetPictureSize(*Block.Bitmap, Width, Height);
}

} // namespace tvx
