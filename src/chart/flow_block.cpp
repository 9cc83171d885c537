#include "chart/flow_block.h"
#include "platform/bitmap.h"

namespace tvx {

TFlowBlock::TFlowBlock() : Bitmap(std::make_unique<TBitmap>()) {}

TFlowBlock::~TFlowBlock() = default;

int TFlowBlock::GetWidth() const {
    return Bitmap->Width();
}

void TFlowBlock::SetWidth(int Value) {
    Bitmap->SetWidth(Value);
}

int TFlowBlock::GetHeight() const {
    return Bitmap->Height();
}

void TFlowBlock::SetHeight(int Value) {
    Bitmap->SetHeight(Value);
}

const TPropertyItems* TFlowBlock::Item(int Branch) const {
    if (Branch < 0 || Branch >= ItemCount()) {
        return nullptr;
    }
    return &Items[size_t(Branch)];
}

TPropertyItems* TFlowBlock::Item(int Branch) {
    if (Branch < 0 || Branch >= ItemCount()) {
        return nullptr;
    }
    return &Items[size_t(Branch)];
}

TFlowBlock* TFlowBlock::GetItemChain(int Branch) const {
    const TPropertyItems* item = Item(Branch);
    return item != nullptr ? item->Chain : nullptr;
}

void TFlowBlock::SetItemChain(int Branch, TFlowBlock* Chain) {
    if (TPropertyItems* item = Item(Branch)) {
        item->Chain = Chain;
    }
}

int TFlowBlock::GetItemOffset(int Branch) const {
    const TPropertyItems* item = Item(Branch);
    return item != nullptr ? item->Offset : 0;
}

void TFlowBlock::SetItemOffset(int Branch, int Offset) {
    if (TPropertyItems* item = Item(Branch)) {
        item->Offset = Offset;
    }
}

TRect TFlowBlock::GetItemRect(int Branch) const {
    const TPropertyItems* item = Item(Branch);
    return item != nullptr ? item->Rect : TRect();
}

void TFlowBlock::SetItemRect(int Branch, const TRect& Rect) {
    if (TPropertyItems* item = Item(Branch)) {
        item->Rect = Rect;
    }
}

QString TFlowBlock::GetItemText(int Branch) const {
    const TPropertyItems* item = Item(Branch);
    return item != nullptr ? item->Text : QString();
}

void TFlowBlock::DrawRectangle(const TRect& R) {
    Bitmap->Canvas().Rectangle(R);
}

} // namespace tvx
