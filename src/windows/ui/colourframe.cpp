#include "windows/ui/colourframe.h"

namespace lumora::windows {

ColourFrameStep colourFrameStep(PointerEvent event) {
    switch (event) {
    case PointerEvent::OverTextColourPicture:
        return {true, false, true, "Couleur texte", Outline::Pointed};
    case PointerEvent::PressOnTextLabel:
        return {true, false, true, nullptr, Outline::TextPicture};
    case PointerEvent::OverFillPicture:
        return {false, true, true, "Couleur de fond", Outline::Pointed};
    case PointerEvent::PressOnFillLabel:
        return {false, true, true, nullptr, Outline::FillPicture};
    case PointerEvent::OverOtherPicture:
        return {false, false, false, nullptr, Outline::Pointed};
    case PointerEvent::OverForm:
        return {false, false, false, nullptr, Outline::ClearAll};
    case PointerEvent::OverListOrPreview:
        break;
    }
    return {false, false, false, nullptr, Outline::None};
}

const std::array<QColor, 48>& swatchColours() {
    static const std::array<QColor, 48> colours = [] {
        static constexpr int rgb[48][3] = {
            {255, 255, 255}, {224, 224, 224}, {192, 192, 192}, {128, 128, 128}, {64, 64, 64},  {0, 0, 0},
            {255, 192, 192}, {255, 128, 128}, {255, 0, 0},     {192, 0, 0},     {128, 0, 0},   {64, 0, 0},
            {255, 224, 192}, {255, 192, 128}, {255, 128, 0},   {192, 64, 0},    {128, 64, 0},  {128, 64, 64},
            {255, 255, 192}, {255, 255, 128}, {255, 255, 0},   {192, 192, 0},   {128, 128, 0}, {64, 64, 0},
            {192, 255, 192}, {128, 255, 128}, {0, 255, 0},     {0, 192, 0},     {0, 128, 0},   {0, 64, 0},
            {192, 255, 255}, {128, 255, 255}, {0, 255, 255},   {0, 192, 192},   {0, 128, 128}, {0, 64, 64},
            {192, 192, 255}, {128, 128, 255}, {0, 0, 255},     {0, 0, 192},     {0, 0, 128},   {0, 0, 64},
            {255, 192, 255}, {255, 128, 255}, {255, 0, 255},   {192, 0, 192},   {128, 0, 128}, {64, 0, 64},
        };
        std::array<QColor, 48> out;
        for (int i = 0; i < 48; ++i)
            out[i] = QColor(rgb[i][0], rgb[i][1], rgb[i][2]);
        return out;
    }();
    return colours;
}

} // namespace lumora::windows
