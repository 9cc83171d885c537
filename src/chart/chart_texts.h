#pragma once
// Block texts are rendered into pictures of their own, which the layout
// copies into the block pictures. A chart shown for the first time renders
// all of its texts in its first pass, through a font engine that takes one
// text at a time; so they are rendered on other threads while that pass
// goes on, each ready, as a rule, before the pass asks for it.
#include <QString>
#include <memory>

namespace tvx {

class TBitmap;
class TFCList;

// Bounds of a text picture. A line is drawn at most kMaxTextWidth pixels
// wide (wider than any screen shows it at half its size): a longer one is
// cut and ends in an ellipsis. A text is drawn at most kMaxTextHeight pixels
// high and its picture holds at most kMaxTextArea pixels: the lines past
// that are left out, the last line drawn being an ellipsis. So a text of a
// million characters costs no more memory than a screenful, and every text
// a chart holds in practice is drawn whole.
inline constexpr int kMaxTextWidth = 16384;
inline constexpr int kMaxTextHeight = 16384;
inline constexpr long long kMaxTextArea = 1LL << 24;

// Renders Text into Bitmap as TFCList::RenderText does, the label texts
// given. Runs on any thread that has text metrics of its own installed
// (TThreadTextMetrics).
void DrawTextPicture(TBitmap& Bitmap, const QString& Text, const QString& YesLabel,
                     const QString& NoLabel);

// While it lives (inside a layout session), the texts of a chart that the
// session does not hold yet are rendered on other threads, in list order.
class TTextsAhead {
public:
    explicit TTextsAhead(const TFCList& Chart);
    // Stops the threads, waits for them and hands what they rendered to the
    // session.
    ~TTextsAhead();
    TTextsAhead(const TTextsAhead&) = delete;
    TTextsAhead& operator=(const TTextsAhead&) = delete;

    // The one alive now, or nullptr.
    static TTextsAhead* Current();

    // The picture of Text when it is one of the texts rendered ahead: waits
    // until it is ready, or renders it here when no thread has taken it yet.
    // nullptr for another text, or one that failed to render.
    std::shared_ptr<const TBitmap> Take(const QString& Text);

private:
    struct TJob;
    std::shared_ptr<TJob> FJob;
    int FHelpers = 0;
    TTextsAhead* FOuter = nullptr;
};

} // namespace tvx
