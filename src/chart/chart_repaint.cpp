#include "chart/chart_repaint.h"
#include "chart/chart_texts.h"
#include "chart/layout_call.h"
#include "chart/layout_session.h"
#include "platform/bitmap.h"
#include "settings/main_settings.h"
#include <algorithm>
#include <optional>
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
    RenderChartTexts(Chart);
    const int Passes = RepaintPassCount(EffectiveMaxLevel(Chart), MainSettings->pm_alleq);
    for (int I = 0; I < Passes; ++I) {
        Chart.DrawBlock(Chart.First());
    }
}

// Blocks by level in list order (a counting sort), so deeper blocks land
// over shallower ones and later ones over earlier ones.
std::vector<const TFlowBlock*> CompositionOrder(const TFCList& Chart) {
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
    return Order;
}

TRect Intersection(const TRect& A, const TRect& B) {
    return TRect{std::max(A.Left, B.Left), std::max(A.Top, B.Top), std::min(A.Right, B.Right),
                 std::min(A.Bottom, B.Bottom)};
}

bool IsEmpty(const TRect& R) {
    return R.Left >= R.Right || R.Top >= R.Bottom;
}

bool Contains(const TRect& Outer, const TRect& Inner) {
    return Inner.Left >= Outer.Left && Inner.Top >= Outer.Top && Inner.Right <= Outer.Right &&
           Inner.Bottom <= Outer.Bottom;
}

TRect Place(const TComposedPart& Part) {
    return TRect{Part.X, Part.Y, Part.X + Part.Width, Part.Y + Part.Height};
}

// Where a composition of Parts differs from one of Last, within Bounds: the
// old and the new place of every part that changed, when the parts are the
// same pictures in the same order and what changed is small enough to be
// worth drawing on its own; nothing otherwise.
std::optional<std::vector<TRect>> ChangedAreas(const std::vector<TComposedPart>& Last,
                                               const std::vector<TComposedPart>& Parts,
                                               const TRect& Bounds) {
    if (Last.size() != Parts.size()) {
        return std::nullopt;
    }
    std::vector<TRect> Areas;
    for (size_t I = 0; I < Parts.size(); ++I) {
        if (Parts[I].Picture != Last[I].Picture) {
            return std::nullopt;
        }
        if (Parts[I] == Last[I]) {
            continue;
        }
        for (const TRect& R :
             {Intersection(Place(Last[I]), Bounds), Intersection(Place(Parts[I]), Bounds)}) {
            if (!IsEmpty(R)) {
                Areas.push_back(R);
            }
        }
    }
    // An area inside another is drawn with it: the picture of a block that
    // changed lies inside those of its owners, which changed as well.
    std::sort(Areas.begin(), Areas.end(), [](const TRect& A, const TRect& B) {
        return static_cast<long long>(A.Width()) * A.Height() >
               static_cast<long long>(B.Width()) * B.Height();
    });
    std::vector<TRect> Kept;
    long long Covered = 0;
    for (const TRect& R : Areas) {
        if (std::none_of(Kept.begin(), Kept.end(),
                         [&](const TRect& K) { return Contains(K, R); })) {
            Kept.push_back(R);
            Covered += static_cast<long long>(R.Width()) * R.Height();
        }
    }
    if (2 * Covered > static_cast<long long>(Bounds.Width()) * Bounds.Height()) {
        return std::nullopt;
    }
    return Kept;
}

// Composes Area of the chart picture anew: white, then the part of every
// picture that lies in it, in order. The block pictures are mostly white and
// keep pixels only where they are drawn on: copying one costs what is drawn
// on it, plus writing white where the picture below is not white.
void DrawParts(TCanvas& Canvas, const std::vector<TComposedPart>& Parts, const TRect& Area) {
    const TBrush Saved = Canvas.Brush;
    Canvas.Brush = TBrush{clWhite, bsSolid};
    Canvas.FillRect(Area);
    Canvas.Brush = Saved;
    for (const TComposedPart& Part : Parts) {
        // Positions are 16-bit; what lies outside the picture is clipped.
        const TRect Piece = Intersection(Place(Part), Area);
        if (!IsEmpty(Piece)) {
            Canvas.CopyRect(Piece, *Part.Picture,
                            TRect{Piece.Left - Part.X, Piece.Top - Part.Y, Piece.Right - Part.X,
                                  Piece.Bottom - Part.Y});
        }
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

    const std::vector<const TFlowBlock*> Order = CompositionOrder(Chart);
    std::vector<TComposedPart> Parts;
    Parts.reserve(Order.size());
    for (const TFlowBlock* B : Order) {
        const TBitmap& Part = *B->Bitmap;
        Parts.push_back(TComposedPart{&Part, Part.ChangeStamp(), B->AbsX, B->AbsY, Part.Width(),
                                      Part.Height()});
    }
    // A chart picture composed before and untouched since needs drawing
    // again only where its parts changed.
    TCanvas& Canvas = Picture.Canvas();
    const TRect Whole = Canvas.ClipRect();
    const std::vector<TComposedPart>* Last = FindComposition(Picture);
    const std::optional<std::vector<TRect>> Changed =
        Last != nullptr ? ChangedAreas(*Last, Parts, Whole) : std::nullopt;
    if (Changed.has_value() && Changed->empty()) {
        return; // composed from the very same parts
    }
    // A large chart picture stays in tiles: white where nothing is drawn,
    // so composing it costs what its parts hold.
    for (const TRect& Area : Changed.has_value() ? *Changed : std::vector<TRect>{Whole}) {
        DrawParts(Canvas, Parts, Area);
    }
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
