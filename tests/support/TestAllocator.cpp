#include "TestAllocator.h"

#include <cstdlib>
#include <new>

namespace {

std::size_t allocations = 0;
bool failing = false;
std::size_t allowance = 0;
bool refused = false;

} // namespace

namespace testAllocator {

std::size_t count() {
    return allocations;
}

void failAfter(std::size_t allowed) {
    allowance = allowed;
    refused = false;
    failing = true;
}

bool stopFailing() {
    failing = false;
    return refused;
}

} // namespace testAllocator

void* operator new(std::size_t size) {
    if (failing) {
        if (allowance == 0) {
            refused = true;
            throw std::bad_alloc();
        }
        --allowance;
    }
    ++allocations;
    if (void* p = std::malloc(size ? size : 1))
        return p;
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept {
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}
