// The program's operator new and delete, on malloc and free, so that a test
// can refuse large allocations (allocation_failure.h).
#include "common/allocation_failure.h"

#include <cstdlib>
#include <limits>
#include <new>

namespace {

thread_local std::size_t FailFrom = std::numeric_limits<std::size_t>::max();
thread_local int RefusedCount = 0;

void* Allocate(std::size_t Size) {
    if (Size >= FailFrom) {
        ++RefusedCount;
        throw std::bad_alloc();
    }
    if (void* p = std::malloc(Size == 0 ? 1 : Size)) {
        return p;
    }
    throw std::bad_alloc();
}

} // namespace

namespace tvx::test {

TFailLargeAllocations::TFailLargeAllocations(std::size_t MinBytes) : Previous(FailFrom) {
    FailFrom = MinBytes;
    RefusedCount = 0;
}

TFailLargeAllocations::~TFailLargeAllocations() {
    FailFrom = Previous;
}

int TFailLargeAllocations::Refused() const {
    return RefusedCount;
}

} // namespace tvx::test

void* operator new(std::size_t Size) {
    return Allocate(Size);
}

void* operator new[](std::size_t Size) {
    return Allocate(Size);
}

// Every plain form is replaced, so no block is freed by another family than
// the one that allocated it.
void* operator new(std::size_t Size, const std::nothrow_t&) noexcept {
    try {
        return Allocate(Size);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

void* operator new[](std::size_t Size, const std::nothrow_t&) noexcept {
    try {
        return Allocate(Size);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

void operator delete(void* P, const std::nothrow_t&) noexcept {
    std::free(P);
}

void operator delete[](void* P, const std::nothrow_t&) noexcept {
    std::free(P);
}

void operator delete(void* P) noexcept {
    std::free(P);
}

void operator delete[](void* P) noexcept {
    std::free(P);
}

void operator delete(void* P, std::size_t) noexcept {
    std::free(P);
}

void operator delete[](void* P, std::size_t) noexcept {
    std::free(P);
}
