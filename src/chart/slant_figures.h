#pragma once
// Sizes (and the diamond's outline) of the slanted header figures of the condition and loop blocks:
// the diamond around a condition text and the hexagon of a for loop. Kept apart from the layout
// call because the shapes compute them from one rendering of their text instead of rendering it
// again.
#include "settings/main_settings.h"
#include <algorithm>

namespace tvx {

class TCanvas;

struct TFigureSize {
    int Width = 0;
    int Height = 0;
};

// Room beside a lane or a branch: the larger of the edge room and the arrowhead
// half width, so an arrow along the lane never touches the picture's edge.
inline int SideMargin(const TMainSettings& Settings) {
    return std::max(Settings.pm_linedge, Settings.pm_shakeX);
}

// How far a label drawn on a side corner of a figure, its lower edge
// pm_sertext above the corner, reaches above the figure's top (the corners
// being FigureHeight div 2 below it); 0 when it stays beside the figure. A
// shape leaves that much room above the figure so the label is never cut.
inline int LabelHeadroom(const TMainSettings& Settings, int LabelHeight, int FigureHeight) {
    return std::max(0, LabelHeight + Settings.pm_sertext - FigureHeight / 2);
}

// Diamond around a text of TextWidth x TextHeight whose sides rise at
// pm_ifangle; its corners lie on the middles of the sides of the returned box.
TFigureSize DiamondSize(const TMainSettings& Settings, int TextWidth, int TextHeight);

// Outlines, in the canvas's pen, the diamond Width x Height whose top corner
// is (X, Top); its side corners are Height div 2 below the top.
void DrawDiamond(TCanvas& Canvas, int X, int Top, int Width, int Height);
// The same diamond hung from its bottom corner (X, Bottom): the side corners
// are Height div 2 above the bottom, where a figure measured from its bottom
// meets them.
void DrawDiamondAbove(TCanvas& Canvas, int X, int Bottom, int Width, int Height);

// Hexagon of a for loop: flat top and bottom as wide as the text, slanted
// sides rising at pm_forangle.
TFigureSize HexagonSize(const TMainSettings& Settings, int TextWidth, int TextHeight);

} // namespace tvx
