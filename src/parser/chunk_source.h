#pragma once
// Memory for the parse tree's pools, in chunks of one size. A parse of a large text
// fills chunk after chunk, and the first write to each page of a new chunk
// stops the parser for a page fault: a third of its time. Once a source has
// filled a chunk, the chunk after the next is made on another thread, its
// pages touched there, while the parser fills the next.
#include <cstddef>
#include <future>
#include <memory>

namespace tvx {

class TChunkSource {
public:
    using TChunk = std::unique_ptr<unsigned char[]>;

    explicit TChunkSource(std::size_t Bytes) : FBytes(Bytes) {}
    TChunkSource(const TChunkSource&) = delete;
    TChunkSource& operator=(const TChunkSource&) = delete;
    ~TChunkSource() { Forget(); }

    std::size_t Bytes() const { return FBytes; }
    // A new chunk (16-byte aligned). Filling tells that the caller has filled
    // one before: then the one after this is made ahead.
    TChunk Next(bool Filling);
    // Gives up the chunk made ahead, if any.
    void Forget() noexcept;

private:
    static TChunk Touched(std::size_t Bytes);

    std::size_t FBytes;
    std::future<TChunk> FAhead;
};

} // namespace tvx
