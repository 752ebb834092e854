#include "core/startup.h"

#include <algorithm>
#include <cmath>

namespace tally {
namespace {
double roundHalfEven(double v) {
    const double lower = std::floor(v);
    const double diff = v - lower;
    if (diff > 0.5)
        return lower + 1;
    if (diff < 0.5)
        return lower;
    return std::fmod(lower, 2.0) == 0 ? lower : lower + 1;
}
} // namespace

WindowOrigin centredOrigin(int screenWidth, int screenHeight) {
    const double x = roundHalfEven((screenWidth - 661) / 2.0);
    const double y = roundHalfEven((screenHeight - 464) / 2.0);
    return {static_cast<float>(x) * 14.4f, static_cast<float>(y) * 14.4f};
}

Box fitWithin(Box window, Box area) {
    // The far edge first, then the near one, so the near edge wins when the window is too big.
    auto fit = [](int start, int length, int areaStart, int areaLength) {
        return std::max(std::min(start, areaStart + areaLength - length), areaStart);
    };
    return {fit(window.left, window.width, area.left, area.width),
            fit(window.top, window.height, area.top, area.height), window.width, window.height};
}

} // namespace tally
