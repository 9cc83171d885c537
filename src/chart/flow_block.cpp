#include "chart/flow_block.h"
#include "platform/bitmap.h"

namespace tvx {

TFlowBlock::TFlowBlock() : Bitmap(std::make_unique<TBitmap>()) {}

TFlowBlock::~TFlowBlock() = default;

std::uint16_t TFlowBlock::GetWidth() const {
    return std::uint16_t(Bitmap->Width());
}

void TFlowBlock::SetWidth(std::uint16_t Value) {
    Bitmap->SetWidth(Value);
}

std::uint16_t TFlowBlock::GetHeight() const {
    return std::uint16_t(Bitmap->Height());
}

void TFlowBlock::SetHeight(std::uint16_t Value) {
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
