#pragma once
// The state the whole calculator shares: the paper tape and the memory list.
// main() owns one; the windows get it by reference, each test builds a fresh one.
#include <array>
#include <string>

#include "core/tape.h"

namespace tally {

constexpr int kMemorySlots = 1000; // memlist positions 0..999

struct State {
    Tape tape;

    int memcount = 0;
    std::array<std::string, kMemorySlots> memlist;
};

} // namespace tally
