#pragma once
// Text zoom of the passage and hymn boxes.

#include "common/decimal.h"

#include <QString>
#include <QStringView>

#include <optional>

namespace lumora::bible {

inline constexpr int kZoomMin = 5;
inline constexpr int kZoomMax = 500;
inline constexpr int kZoomStep = 10;

// The scale a rich-text box is given, numerator over denominator; 0 over 0 means no zoom.
struct ZoomRatio {
    int numerator = 0;
    int denominator = 0;
    friend bool operator==(const ZoomRatio&, const ZoomRatio&) = default;
};

// The ratio for a percentage, or nullopt outside 5..500 (such a request changes nothing).
// 100 -> 0/0; above 100 -> round(percent / 1.960784) / 51 with halves to the even neighbour
// (200 -> 102/51, 150 -> 77/51, 500 -> 255/51); below 100 -> percent / 100 (90 -> 90/100).
std::optional<ZoomRatio> zoomRatio(int percent);

// The request a spin arrow makes from the zoom in force: 100 up -> 110, 100 down -> 90.
inline int zoomStepRequest(int current, bool up) {
    return up ? current + kZoomStep : current - kZoomStep;
}

// "200 %".
inline QString zoomLabel(int percent) {
    return QString::number(percent) + QStringLiteral(" %");
}

// The position fields step with the exact decimals of the common routines.
using common::Decimal;
using common::stepPosition;

} // namespace lumora::bible
