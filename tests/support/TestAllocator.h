#pragma once

#include <cstddef>

// The program's global operator new, replaced for tests that count or refuse allocations. On
// Linux the module and the host share it; on Windows each DLL has its own.
namespace testAllocator {

// Allocations made so far in the whole process.
std::size_t count();

// Lets the next `allowed` allocations through and refuses every later one with
// std::bad_alloc, until stopFailing.
void failAfter(std::size_t allowed);
// Returns whether any allocation was refused since failAfter.
bool stopFailing();

} // namespace testAllocator
