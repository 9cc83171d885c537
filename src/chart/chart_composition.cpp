#include "chart/chart_composition.h"
#include "chart/chart_repaint.h"
#include "chart/layout_call.h"
#include "chart/layout_session.h"
#include "platform/bitmap.h"
#include <algorithm>
#include <optional>
#include <vector>

namespace tvx {

namespace {

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

// Bytes of tiles past which a chart picture being composed shares its equal
// tiles: a chart nested deep, whose lines run down its whole height.
constexpr std::size_t kShareTilesAbove = 16u << 20;

TRect Intersection(const TRect& A, const TRect& B) {
    return TRect{std::max(A.Left, B.Left), std::max(A.Top, B.Top), std::min(A.Right, B.Right),
                 std::min(A.Bottom, B.Bottom)};
}

bool IsEmpty(const TRect& R) {
    return R.Left >= R.Right || R.Top >= R.Bottom;
}

TRect Place(const TComposedPart& Part) {
    return TRect{Part.X, Part.Y, Part.X + Part.Width, Part.Y + Part.Height};
}

// Where a composition of Parts differs from one of Last: the old and the
// new place of every part that changed, when the parts are the same pictures
// in the same order; nothing otherwise.
std::optional<std::vector<TRect>> ChangedAreas(const std::vector<TComposedPart>& Last,
                                               const std::vector<TComposedPart>& Parts) {
    if (Last.size() != Parts.size()) {
        return std::nullopt;
    }
    std::vector<TRect> Areas;
    for (size_t I = 0; I < Parts.size(); ++I) {
        if (Parts[I].Picture != Last[I].Picture) {
            return std::nullopt;
        }
        if (!(Parts[I] == Last[I])) {
            Areas.push_back(Place(Last[I]));
            Areas.push_back(Place(Parts[I]));
        }
    }
    return Areas;
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
        // What lies outside the picture is clipped.
        const TRect Piece = Intersection(Place(Part), Area);
        if (Part.Picture != nullptr && !IsEmpty(Piece)) {
            Canvas.CopyRect(Piece, *Part.Picture,
                            TRect{Piece.Left - Part.X, Piece.Top - Part.Y, Piece.Right - Part.X,
                                  Piece.Bottom - Part.Y});
        }
    }
}

// Every block picture the passes laid out, where it goes, in the order
// they are drawn.
std::vector<TComposedPart> ComposedParts(const TFCList& Chart) {
    const std::vector<const TFlowBlock*> Order = CompositionOrder(Chart);
    std::vector<TComposedPart> Parts;
    Parts.reserve(Order.size());
    for (const TFlowBlock* B : Order) {
        const TBitmap& Part = *B->Bitmap;
        Parts.push_back(TComposedPart{&Part, Part.ChangeStamp(), B->AbsX, B->AbsY, Part.Width(),
                                      Part.Height()});
    }
    return Parts;
}

// Gives Picture the size of the root's picture; a picture of another size
// gets new pixels rather than a copy of the old.
void SizeToRoot(const TFCList& Chart, TBitmap& Picture) {
    const TBitmap& RootPicture = *Chart.First()->Bitmap;
    if (Picture.Width() != RootPicture.Width() || Picture.Height() != RootPicture.Height()) {
        Picture.SetSize(0, 0);
    }
    SetPictureSize(Picture, RootPicture.Width(), RootPicture.Height());
}

// The block numbers written over the chart: one label per block but the
// root, left of its figure's top, in list order.
struct TNumberLabel {
    QString Text;
    TRect Place;
};

std::vector<TNumberLabel> NumberLabels(const TFCList& Chart, const TCanvas& Canvas) {
    std::vector<TNumberLabel> Labels;
    for (const TFlowBlock* Block : Chart.GetList()) {
        if (Block->Index > 0) {
            const QString Text = QString::number(Block->Index);
            const TSize Size = Canvas.TextExtent(Text);
            const int Top = Block->InRect.Top - Size.Height / 2 - 1;
            Labels.push_back(
                TNumberLabel{Text, TRect{Block->InRect.Left, Top, Block->InRect.Left + Size.Width,
                                         Top + Size.Height}});
        }
    }
    return Labels;
}

} // namespace

void ComposeChart(const TFCList& Chart, TBitmap& Picture) {
    KeptComposition(Picture).Compose(Chart, Picture, TChartComposition::kEverything);
}

void TChartComposition::Compose(const TFCList& Chart, TBitmap& Picture, const TRect& Area) {
    if (Chart.Count() == 0) {
        return;
    }
    SizeToRoot(Chart, Picture);
    const TRect Whole{0, 0, Picture.Width(), Picture.Height()};
    const int Bands = (Whole.Bottom + kBandHeight - 1) / kBandHeight;
    std::vector<TComposedPart> Parts = ComposedParts(Chart);
    // The numbers take part as parts without a picture of their own.
    std::vector<TNumberLabel> Labels;
    if (BlockNumbers) {
        Labels = NumberLabels(Chart, Picture.Canvas());
        for (const TNumberLabel& Label : Labels) {
            Parts.push_back(TComposedPart{nullptr, std::uint64_t(Label.Text.toULongLong()),
                                          Label.Place.Left, Label.Place.Top, Label.Place.Width(),
                                          Label.Place.Height()});
        }
    }
    // Bands composed from the parts of the last call hold what the new parts
    // give wherever none of them changed.
    const bool Kept =
        &Picture == FPicture && Picture.ChangeStamp() == FStamp && int(FComposed.size()) == Bands;
    const std::optional<std::vector<TRect>> Changed =
        Kept ? ChangedAreas(FParts, Parts) : std::nullopt;
    if (!Changed.has_value()) {
        FComposed.assign(size_t(Bands), false);
    } else {
        for (const TRect& Area : *Changed) {
            const TRect R = Intersection(Area, Whole);
            for (int Band = R.Top / kBandHeight; !IsEmpty(R) && Band * kBandHeight < R.Bottom;
                 ++Band) {
                FComposed[size_t(Band)] = false;
            }
        }
    }
    FParts = std::move(Parts);
    TCanvas& Canvas = Picture.Canvas();
    for (int Band = std::max(Area.Top, 0) / kBandHeight;
         Band < Bands && Band * kBandHeight < Area.Bottom && Area.Left < Area.Right; ++Band) {
        if (FComposed[size_t(Band)]) {
            continue;
        }
        const TRect Rows{0, Band * kBandHeight, Whole.Right,
                         std::min(Whole.Bottom, (Band + 1) * kBandHeight)};
        DrawParts(Canvas, FParts, Rows);
        for (const TNumberLabel& Label : Labels) {
            if (Label.Place.Bottom > Rows.Top && Label.Place.Top < Rows.Bottom) {
                Canvas.TextRect(Rows, Label.Place.Left, Label.Place.Top, Label.Text);
            }
        }
        FComposed[size_t(Band)] = true;
        // A deep chart's lines run down many bands: once they take some
        // memory, equal tiles are kept once (no pixel changes, nor the stamp).
        if (Picture.TileBytes() > kShareTilesAbove) {
            Picture.ShareEqualTiles();
        }
    }
    FPicture = &Picture;
    FStamp = Picture.ChangeStamp();
}

} // namespace tvx
