#pragma once
// The repaint of a chart: the layout passes over the root block, then the
// composition of every block's picture into one chart picture, in chart
// coordinates, which the pages and the picture export cut. The chart window
// runs the passes and composes only the part it shows (chart_composition.h).
#include "chart/fc_list.h"

namespace tvx {

class TBitmap;

// Layout passes one repaint runs: Floor(MaxLevel / 2) + 1, two more, and
// when AllEq ("All block equals size") Floor(MaxLevel / 2) + 1 again. Blocks
// of level k have their final positions after k passes, so one repaint
// settles charts up to level 6 and every further repaint goes on from where
// the last one stopped.
int RepaintPassCount(int MaxLevel, bool AllEq);
// The chart's deepest level as the repaint counts it: a damaged level cannot
// make it run without end.
int EffectiveMaxLevel(const TFCList& Chart);

// Lays the chart out (all passes over the root) and composes the chart
// picture into Picture, which the caller owns: Picture takes the size of the
// root block's picture and keeps its pixel format; every block that the
// passes laid out is drawn at (AbsX, AbsY), level by level, deeper blocks
// over shallower ones and, within a level, later blocks over earlier ones.
// A chart without blocks changes nothing. Needs MainSettings.
void RepaintChart(TFCList& Chart, TBitmap& Picture);

// The same into the document's own ChartBitmap (16 bits per pixel), which the
// pages are cut from.
void RepaintChart(TFCList& Chart);

// Runs the passes only. A chart that nothing touched since its last layout
// (its blocks, links, texts and selection, the settings, the language's
// labels, the fonts and the text measures all as they were, and every value
// the layout wrote still as it left it) is not laid out again: what every
// scroll step of a chart window costs. The same holds for RepaintChart.
void LayoutChart(TFCList& Chart);
// Gives back the memory the drawing of Chart holds: every block picture and
// the chart picture become white (each keeping its size), and what the
// layout kept of their drawing and of the texts it rendered is dropped; the
// next repaint draws everything again. After a drawing that ran out of
// memory, so that the program has memory to go on with.
void ReleaseChartPictures(TFCList& Chart);

// Composes the pictures the last passes left into Picture.
void ComposeChart(const TFCList& Chart, TBitmap& Picture);

} // namespace tvx
