#pragma once
// Makes memory run out on purpose: while a TFailLargeAllocations lives, every
// operator new of at least MinBytes on this thread raises std::bad_alloc, as
// an allocation the machine cannot serve would. Smaller allocations and other
// threads go on as usual. Link allocation_failure.cpp into the test program.
#include <cstddef>

namespace tvx::test {

class TFailLargeAllocations {
public:
    explicit TFailLargeAllocations(std::size_t MinBytes);
    ~TFailLargeAllocations();
    TFailLargeAllocations(const TFailLargeAllocations&) = delete;
    TFailLargeAllocations& operator=(const TFailLargeAllocations&) = delete;

    // How many allocations were refused so far.
    int Refused() const;

private:
    std::size_t Previous;
};

} // namespace tvx::test
