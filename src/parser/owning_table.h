#pragma once
// A list that owns its items and is indexed by the table index the grammar
// file gives each entry. Entries the file never names stay empty (null).
#include "platform/exception.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace tvx {

// Raises the index error of the grammar tables: a tvx::Exception with the
// message "invalid index!".
[[noreturn]] void RaiseIndexError();

template <class T> class TOwningTable {
public:
    int32_t GetCount() const { return static_cast<int32_t>(Items.size()); }

    // The entry at i, null for a place no record filled; raises an index error
    // outside 0..GetCount()-1.
    T* GetItem(int32_t i) const {
        if (i < 0 || i >= GetCount()) {
            RaiseIndexError();
        }
        return Items[static_cast<size_t>(i)].get();
    }

    // Grows the list to i+1 places when needed and replaces (frees) the item
    // at i. The file stores indexes as 16-bit numbers, so growth is bounded.
    void SetItem(int32_t i, std::unique_ptr<T> item) {
        if (i < 0) {
            RaiseIndexError();
        }
        if (i >= GetCount()) {
            Items.resize(static_cast<size_t>(i) + 1);
        }
        Items[static_cast<size_t>(i)] = std::move(item);
    }

    // The entry at i when it exists and is filled, else null; never raises.
    T* Find(int32_t i) const {
        return i >= 0 && i < GetCount() ? Items[static_cast<size_t>(i)].get() : nullptr;
    }

    void Clear() { Items.clear(); }
    bool IsEmpty() const { return Items.empty(); }

private:
    std::vector<std::unique_ptr<T>> Items;
};

} // namespace tvx
