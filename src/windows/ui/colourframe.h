#pragma once
// What the mouse does to the font dialog's colour choice: which colour a swatch click sets
// (TextColourMode / FillColourMode), whether Frame_couleur shows and with which caption, and which
// picture is outlined.

#include <QColor>

#include <array>

namespace lumora::windows {

enum class PointerEvent {
    OverTextColourPicture, // moves over Im_couleurText
    PressOnTextLabel,      // pressed on Lbl_font
    OverFillPicture,       // moves over Im_remplissage
    PressOnFillLabel,      // pressed on Lbl_remplissage
    OverOtherPicture,      // moves over bold, italic, underline or an alignment picture
    OverForm,              // moves over the dialog itself
    OverListOrPreview,     // moves over ComboBox_Police, ComboBox_Taille or Text_Appercu
};

enum class Outline {
    None,        // no picture changes its outline
    TextPicture, // Im_couleurText gets its outline
    FillPicture, // Im_remplissage gets its outline
    Pointed,     // the picture under the mouse gets its outline
    ClearAll,    // every picture loses its outline
};

struct ColourFrameStep {
    bool TextColourMode = false;
    bool FillColourMode = false;
    bool frameShown = false;
    const char* caption = nullptr; // the new caption of Frame_couleur; nullptr leaves it
    Outline outline = Outline::None;
};

ColourFrameStep colourFrameStep(PointerEvent event);

// The 48 swatches Couleur(0..47), in index order: eight hues of six shades each.
const std::array<QColor, 48>& swatchColours();

} // namespace lumora::windows
