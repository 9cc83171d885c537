#pragma once
// Objects of one type made in chunks and destroyed all together: the parse
// tree of a large text is millions of small objects with one lifetime.
#include <cstddef>
#include <memory>
#include <new>
#include <type_traits>
#include <utility>
#include <vector>

namespace tvx {

template <class T> class TObjectPool {
public:
    TObjectPool() = default;
    TObjectPool(const TObjectPool&) = delete;
    TObjectPool& operator=(const TObjectPool&) = delete;
    ~TObjectPool() { Clear(); }

    template <class... Args> T* New(Args&&... args) {
        if (Chunks.empty() || Used == ChunkSize) {
            Chunks.push_back(std::make_unique_for_overwrite<Slot[]>(ChunkSize));
            Used = 0;
        }
        T* object =
            ::new (static_cast<void*>(Chunks.back()[Used].Bytes)) T(std::forward<Args>(args)...);
        ++Used;
        return object;
    }

    void Clear() {
        if constexpr (!std::is_trivially_destructible_v<T>) {
            for (size_t c = 0; c < Chunks.size(); ++c) {
                const size_t count = c + 1 == Chunks.size() ? Used : ChunkSize;
                for (size_t i = 0; i < count; ++i) {
                    std::launder(reinterpret_cast<T*>(Chunks[c][i].Bytes))->~T();
                }
            }
        }
        Chunks.clear();
        Used = 0;
    }

    // Frees the memory of every object without running its destructor: for
    // objects whose destruction would do nothing their owner still needs.
    void Drop() {
        Chunks.clear();
        Used = 0;
    }

    bool IsEmpty() const { return Chunks.empty(); }

private:
    static constexpr size_t ChunkSize = 16384;
    struct Slot {
        alignas(T) unsigned char Bytes[sizeof(T)];
    };
    std::vector<std::unique_ptr<Slot[]>> Chunks;
    size_t Used = 0;
};

} // namespace tvx
