#pragma once
// The blocks a converter has entered while it converts the branches of a
// structured statement or the body of a routine. The blocks belong to their
// charts; the stack never frees them.
#include "support/arrays.h"

namespace tvx {

class TFlowBlock;

class TReductionStack : public TObjectArray {
public:
    TReductionStack();

    QString ClassName() const override { return QStringLiteral("TReductionStack"); }

    void Push(TFlowBlock* Block);
    // Removes the last block and returns it; nullptr when the stack is empty.
    TFlowBlock* Pop();
    // The last block, nullptr when the stack is empty.
    TFlowBlock* Top() const;
};

} // namespace tvx
