#include "bible/zoom/zoomratio.h"

#include <cmath>

namespace lumora::bible {

namespace {

// Halves go to the even neighbour whatever the floating-point rounding mode is.
long long roundHalfEven(double x) {
    const double f = std::floor(x);
    const double diff = x - f;
    auto r = static_cast<long long>(f);
    if (diff > 0.5 || (diff == 0.5 && (r % 2) != 0)) ++r;
    return r;
}

} // namespace

std::optional<ZoomRatio> zoomRatio(int percent) {
    if (percent < kZoomMin || percent > kZoomMax) return std::nullopt;
    if (percent == 100) return ZoomRatio{0, 0};
    if (percent > 100) return ZoomRatio{static_cast<int>(roundHalfEven(percent / 1.960784)), 51};
    return ZoomRatio{percent, 100};
}

} // namespace lumora::bible
