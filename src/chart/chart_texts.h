#pragma once
// Block texts are rendered into pictures of their own, which the layout
// copies into the block pictures. A chart shown for the first time renders
// all of its texts in its first pass; they are rendered ahead of it, on every
// core, into the open layout session.
#include <QString>

namespace tvx {

class TBitmap;
class TFCList;

// Renders Text into Bitmap as TFCList::RenderText does, the label texts
// given. Runs on any thread that has text metrics of its own installed
// (TThreadTextMetrics).
void DrawTextPicture(TBitmap& Bitmap, const QString& Text, const QString& YesLabel,
                     const QString& NoLabel);

// Renders every text a layout pass over Chart renders that the open layout
// session does not hold yet, and gives them to the session. Without a session
// it does nothing.
void RenderChartTexts(const TFCList& Chart);

} // namespace tvx
