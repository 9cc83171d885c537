#include "parser/chunk_source.h"
#include <system_error>

namespace tvx {

TChunkSource::TChunk TChunkSource::Touched(std::size_t Bytes) {
    TChunk Chunk = std::make_unique_for_overwrite<unsigned char[]>(Bytes);
    constexpr std::size_t Page = 4096;
    volatile unsigned char* Memory = Chunk.get();
    for (std::size_t At = 0; At < Bytes; At += Page) {
        Memory[At] = 0;
    }
    return Chunk;
}

TChunkSource::TChunk TChunkSource::Next(bool Filling) {
    TChunk Chunk =
        FAhead.valid() ? FAhead.get() : std::make_unique_for_overwrite<unsigned char[]>(FBytes);
    if (Filling) {
        try {
            FAhead = std::async(std::launch::async, &TChunkSource::Touched, FBytes);
        } catch (const std::system_error&) {
            // No thread to be had: the next chunk is made when it is needed.
        }
    }
    return Chunk;
}

void TChunkSource::Forget() noexcept {
    if (FAhead.valid()) {
        try {
            FAhead.get();
        } catch (...) {
            // It was never used.
        }
    }
}

} // namespace tvx
