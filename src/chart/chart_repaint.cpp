#include "chart/chart_repaint.h"
#include "chart/layout_call.h"
#include "chart/layout_session.h"
#include "platform/bitmap.h"
#include "settings/main_settings.h"
#include <algorithm>
#include <vector>

namespace tvx {

namespace {

// Levels are nesting depths, so no consistent chart nests deeper than it has
// blocks; a damaged level cannot make the repaint run without end.
int EffectiveMaxLevel(const TFCList& Chart) {
    return std::clamp(Chart.MaxLevel(), 0, Chart.Count());
}

// The branches a pass lays out: every branch of a compound block whose
// branch records match its kind, except the no branch of the yes-only
// condition; none of the kinds without a figure. Blocks hanging elsewhere keep
// stale positions and are left out of the picture.
bool LaysOutBranch(const TFlowBlock& Block, int Branch) {
    switch (Block.Kind) {
    case bkRoot:
        return Block.Parent == nullptr && Branch == 0;
    case bkIfYesLeft:
        return Block.ItemCount() == BranchCount(Block.Kind) && Branch == 0;
    case bkCase:
    case bkIfElse:
    case bkIfNoRight:
    case bkWhile:
    case bkRepeat:
    case bkFor:
        return Block.ItemCount() == BranchCount(Block.Kind);
    default:
        return false;
    }
}

// Marks, by list position, the blocks a pass over the root reaches.
std::vector<bool> ReachedBlocks(const TFCList& Chart) {
    std::vector<bool> Reached(size_t(Chart.Count()), false);
    auto Mark = [&](const TFlowBlock* B) {
        if (B->Index < 0 || B->Index >= Chart.Count() || Chart.GetList()[size_t(B->Index)] != B ||
            Reached[size_t(B->Index)]) {
            return false;
        }
        Reached[size_t(B->Index)] = true;
        return true;
    };
    std::vector<const TFlowBlock*> Pending{Chart.First()};
    Mark(Chart.First());
    while (!Pending.empty()) {
        const TFlowBlock* Owner = Pending.back();
        Pending.pop_back();
        for (int J = 0; J < Owner->ItemCount(); ++J) {
            if (!LaysOutBranch(*Owner, J)) {
                continue;
            }
            for (const TFlowBlock* B = Owner->GetItemChain(J); B != nullptr && Mark(B);
                 B = B->Next) {
                Pending.push_back(B);
            }
        }
    }
    return Reached;
}

} // namespace

int RepaintPassCount(int MaxLevel, bool AllEq) {
    const int Half = std::max(MaxLevel, 0) / 2 + 1;
    return Half + 2 + (AllEq ? Half : 0);
}

namespace {

void RunPasses(TFCList& Chart) {
    const int Passes = RepaintPassCount(EffectiveMaxLevel(Chart), MainSettings->pm_alleq);
    for (int I = 0; I < Passes; ++I) {
        Chart.DrawBlock(Chart.First());
    }
}

} // namespace

void LayoutChart(TFCList& Chart) {
    if (Chart.Count() == 0 || MainSettings == nullptr) {
        return;
    }
    TLayoutSession Session;
    RunPasses(Chart);
}

void ComposeChart(const TFCList& Chart, TBitmap& Picture) {
    if (Chart.Count() == 0) {
        return;
    }
    const TBitmap& RootPicture = *Chart.First()->Bitmap;
    if (Picture.Width() != RootPicture.Width() || Picture.Height() != RootPicture.Height()) {
        // Everything is drawn again: new pixels rather than a copy of the old.
        Picture.SetSize(0, 0);
    }
    SetPictureSize(Picture, RootPicture.Width(), RootPicture.Height());

    // Blocks by level in list order (a counting sort), so deeper blocks land
    // over shallower ones and later ones over earlier ones.
    const std::vector<bool> Reached = ReachedBlocks(Chart);
    const int Levels = EffectiveMaxLevel(Chart) + 1;
    std::vector<int> Start(size_t(Levels) + 1, 0);
    const std::vector<TFlowBlock*>& List = Chart.GetList();
    auto Drawn = [&](size_t I) {
        return Reached[I] && List[I]->Level >= 0 && List[I]->Level < Levels;
    };
    for (size_t I = 0; I < List.size(); ++I) {
        if (Drawn(I)) {
            ++Start[size_t(List[I]->Level) + 1];
        }
    }
    for (int L = 0; L < Levels; ++L) {
        Start[size_t(L) + 1] += Start[size_t(L)];
    }
    std::vector<const TFlowBlock*> Order(size_t(Start.back()));
    for (size_t I = 0; I < List.size(); ++I) {
        if (Drawn(I)) {
            Order[size_t(Start[size_t(List[I]->Level)]++)] = List[I];
        }
    }
    // A chart picture already composed from the same pictures, unchanged, at
    // the same places, and untouched since, is left as it is.
    std::vector<TComposedPart> Parts;
    Parts.reserve(Order.size());
    for (const TFlowBlock* B : Order) {
        Parts.push_back(TComposedPart{B->Bitmap.get(), B->Bitmap->ChangeStamp(), B->AbsX, B->AbsY});
    }
    if (AlreadyComposed(Picture, Parts)) {
        return;
    }
    // The block pictures are mostly white and keep pixels only where they
    // are drawn on: copying one costs what is drawn on it, plus writing white
    // where the picture below is not white.
    Picture.PrepareWhole();
    TCanvas& Canvas = Picture.Canvas();
    const TBrush Saved = Canvas.Brush;
    Canvas.Brush = TBrush{clWhite, bsSolid};
    Canvas.FillRect(Canvas.ClipRect());
    Canvas.Brush = Saved;
    for (const TFlowBlock* B : Order) {
        // Positions are 16-bit; what lies outside the picture is clipped.
        Canvas.Draw(B->AbsX, B->AbsY, *B->Bitmap);
    }
    // The view copies all of the picture next: its pixels are made now.
    Picture.Image();
    NoteComposed(Picture, std::move(Parts));
}

void RepaintChart(TFCList& Chart, TBitmap& Picture) {
    if (Chart.Count() == 0 || MainSettings == nullptr) {
        return;
    }
    TLayoutSession Session;
    RunPasses(Chart);
    ComposeChart(Chart, Picture);
}

void RepaintChart(TFCList& Chart) {
    Chart.ChartBitmap->SetPixelFormat(pf16bit);
    RepaintChart(Chart, *Chart.ChartBitmap);
}

} // namespace tvx
