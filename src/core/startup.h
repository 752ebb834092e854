#pragma once
// Where the main window starts: centred on a screen of W x H pixels, in twips.
namespace tally {

struct WindowOrigin {
    float left;
    float top;
};

// x = (W - 661) / 2 and y = (H - 464) / 2, halves rounded to even, no clamp; times 14.4 twips.
WindowOrigin centredOrigin(int screenWidth, int screenHeight);

// Twips to logical pixels (15 twips a pixel at 96 dpi), rounded to the nearest pixel.
constexpr int twipsToPixels(double twips) {
    const double px = twips / 15.0;
    return static_cast<int>(px < 0 ? px - 0.5 : px + 0.5);
}

} // namespace tally
