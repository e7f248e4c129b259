// Counts the heap allocations of the whole benchmark program: allocation_counter.cpp replaces the
// global operator new.
#pragma once

#include <cstdint>

namespace zembra {

std::uint64_t AllocationCount();

}  // namespace zembra
