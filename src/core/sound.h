#pragma once
// The two key sounds, by kind rather than by file name.
namespace tally {

enum class Sound {
    None,
    Calc1, // the operator click: lines written, commands, scrolling
    Calc2, // the digit click: typing, Clear Entries, the slider
};

} // namespace tally
