#include "core/startup.h"

#include <cmath>

namespace tally {
namespace {
double roundHalfEven(double v) {
    const double lower = std::floor(v);
    const double diff = v - lower;
    if (diff > 0.5) return lower + 1;
    if (diff < 0.5) return lower;
    return std::fmod(lower, 2.0) == 0 ? lower : lower + 1;
}
} // namespace

WindowOrigin centredOrigin(int screenWidth, int screenHeight) {
    const double x = roundHalfEven((screenWidth - 661) / 2.0);
    const double y = roundHalfEven((screenHeight - 464) / 2.0);
    return {static_cast<float>(x) * 14.4f, static_cast<float>(y) * 14.4f};
}

} // namespace tally
