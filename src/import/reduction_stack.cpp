#include "import/reduction_stack.h"
#include "chart/flow_block.h"

namespace tvx {

TReductionStack::TReductionStack() {
    OwnsObjects = false;
}

void TReductionStack::Push(TFlowBlock* Block) {
    Add(Block);
}

TFlowBlock* TReductionStack::Pop() {
    if (Count() == 0) {
        return nullptr;
    }
    auto* block = static_cast<TFlowBlock*>(GetItem(Count() - 1));
    Delete(Count() - 1);
    return block;
}

TFlowBlock* TReductionStack::Top() const {
    return Count() == 0 ? nullptr : static_cast<TFlowBlock*>(GetItem(Count() - 1));
}

} // namespace tvx
