#pragma once
// The selection set of a chart: blocks drawn in the selection colour. It never
// owns its blocks.
#include "support/arrays.h"

namespace tvx {

class TFlowBlock;

class TFlowBlockCollection : public TObjectArray {
public:
    TFlowBlockCollection();

    QString ClassName() const override { return QStringLiteral("TFlowBlockCollection"); }

    int Add(TFlowBlock* Block);
    TFlowBlock* GetItem(int Index) const;
    int IndexOf(const TFlowBlock* Block) const;
    bool Contains(const TFlowBlock* Block) const;
    // Takes Block out of the set when it is there.
    void Remove(const TFlowBlock* Block);
};

} // namespace tvx
