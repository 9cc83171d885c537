#pragma once
// Fixture for the compound shape tests: a block added to the root chain and
// laid out until its hit areas are settled, and pixel checks on its picture.
#include "layout_test_support.h"

namespace tvx {

class ShapeTest : public LayoutTest {
protected:
    // Hit areas use the positions of the pass before: two passes settle a
    // root-chain block.
    void Settle() {
        Pass();
        Pass();
    }
    TFlowBlock* LaidOut(TBlockKind Kind, const QString& Text = QStringLiteral("abcd")) {
        TFlowBlock* Block = Append(Kind, Text);
        Settle();
        return Block;
    }
    bool IsLine(const TFlowBlock* Block, int X, int Y) const {
        return PixelAt(Block, X, Y) == StoredColor(Block->Bitmap->PixelFormat(), Settings->cl_def);
    }
    static bool IsWhite(const TFlowBlock* Block, int X, int Y) {
        return PixelAt(Block, X, Y) == clWhite;
    }
    // Inside an arrowhead.
    static bool IsHead(const TFlowBlock* Block, int X, int Y) {
        return PixelAt(Block, X, Y) == clBlack;
    }
};

} // namespace tvx
