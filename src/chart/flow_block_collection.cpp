#include "chart/flow_block_collection.h"
#include "chart/flow_block.h"

namespace tvx {

TFlowBlockCollection::TFlowBlockCollection() {
    OwnsObjects = false;
}

int TFlowBlockCollection::Add(TFlowBlock* Block) {
    return TObjectArray::Add(Block);
}

TFlowBlock* TFlowBlockCollection::GetItem(int Index) const {
    return static_cast<TFlowBlock*>(TObjectArray::GetItem(Index));
}

int TFlowBlockCollection::IndexOf(const TFlowBlock* Block) const {
    return TObjectArray::IndexOf(Block);
}

bool TFlowBlockCollection::Contains(const TFlowBlock* Block) const {
    return IndexOf(Block) >= 0;
}

void TFlowBlockCollection::Remove(const TFlowBlock* Block) {
    for (int i = IndexOf(Block); i >= 0; i = IndexOf(Block)) {
        Delete(i);
    }
}

} // namespace tvx
