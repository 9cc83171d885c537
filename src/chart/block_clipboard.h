#pragma once
// Copy and paste of blocks between charts. The block clipboard is a chart
// document of its own: a root with the text "OnlyForCopy" whose root chain
// holds the copy of one block with everything nested in its branches.
#include "chart/mouse_info.h"
#include <QString>
#include <memory>

namespace tvx {

class TFCList;
class TFlowBlock;

inline const QString ClipboardRootText = QStringLiteral("OnlyForCopy");

// A clipboard document holding the first marked block of Chart (in list
// order) and the blocks nested in its branches, but not the blocks that
// follow it in its chain; nullptr when no block is marked. Kinds and texts
// are copied, comments are not; copied page breaks are numbered afresh.
std::unique_ptr<TFCList> CopySelected(const TFCList& Chart);

// Re-creates Source and its branches in Clipboard at the place Target and
// MouseInfo name, and returns the copy of Source (nullptr for a page break
// that cannot go there, which is then left out).
TFlowBlock* CopySubtree(TFCList& Clipboard, const TFlowBlock& Source, TFlowBlock* Target,
                        TBlockKind Kind, const QString& Text, TMouseInfo& MouseInfo);

// Inserts a fresh copy of the clipboard's blocks into Chart, as they come
// back through the chart file format: after the target block in its chain
// (MouseInfo.Branch -1) or at the head of its branch MouseInfo.Branch. The
// first pasted block is marked. Nothing changes, and the result is false,
// when no block is targeted, the target or branch does not exist, or the
// clipboard is missing or holds only its root; nor when the pasted blocks
// would nest deeper than the nesting limit, which is told through the prompts.
bool Paste(TFCList& Chart, const TFCList* Clipboard, const TMouseInfo& MouseInfo);

} // namespace tvx
