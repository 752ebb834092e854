#pragma once
// Where windows start: the main window centred on a screen of W x H pixels, in twips; the other
// windows within the screen's available area.
namespace tally {

struct WindowOrigin {
    float left;
    float top;
};

// x = (W - 661) / 2 and y = (H - 464) / 2, halves rounded to even, no clamp; times 14.4 twips.
WindowOrigin centredOrigin(int screenWidth, int screenHeight);

// A rectangle on the screen, in pixels.
struct Box {
    int left, top, width, height;
};

// `window` moved the least that puts it wholly inside `area`, size kept; one wider or taller than
// the area starts at the area's left or top edge, so its title bar stays reachable.
Box fitWithin(Box window, Box area);

// Twips to logical pixels (15 twips a pixel at 96 dpi), rounded to the nearest pixel.
constexpr int twipsToPixels(double twips) {
    const double px = twips / 15.0;
    return static_cast<int>(px < 0 ? px - 0.5 : px + 0.5);
}

} // namespace tally
