#pragma once
// Objects of one type made in chunks and destroyed all together: the parse
// tree of a large text is millions of small objects with one lifetime.
#include "parser/chunk_source.h"
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
            Chunks.push_back(Source.Next(!Chunks.empty()));
            Used = 0;
        }
        T* object = ::new (static_cast<void*>(Slot(Chunks.size() - 1, Used)))
            T(std::forward<Args>(args)...);
        ++Used;
        return object;
    }

    void Clear() {
        Source.Forget();
        if constexpr (!std::is_trivially_destructible_v<T>) {
            for (size_t c = 0; c < Chunks.size(); ++c) {
                const size_t count = c + 1 == Chunks.size() ? Used : ChunkSize;
                for (size_t i = 0; i < count; ++i) {
                    std::launder(reinterpret_cast<T*>(Slot(c, i)))->~T();
                }
            }
        }
        Chunks.clear();
        Used = 0;
    }

    // Frees the memory of every object without running its destructor: for
    // objects whose destruction would do nothing their owner still needs.
    void Drop() {
        Source.Forget();
        Chunks.clear();
        Used = 0;
    }

    bool IsEmpty() const { return Chunks.empty(); }

private:
    static constexpr size_t ChunkSize = 16384;
    static_assert(alignof(T) <= 16, "chunks are 16-byte aligned");

    unsigned char* Slot(size_t Chunk, size_t Index) const {
        return Chunks[Chunk].get() + Index * sizeof(T);
    }

    TChunkSource Source{ChunkSize * sizeof(T)};
    std::vector<TChunkSource::TChunk> Chunks;
    size_t Used = 0;
};

} // namespace tvx
