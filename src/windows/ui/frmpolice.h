#pragma once
// The font and colour dialog FrmPolice ("POLICE"): always on top, modeless. Every change shows
// first in the preview Text_Appercu and is then asked of the main window as a StyleEdit; the main
// window decides from its tab which box it changes (TextStyler). It writes nothing to disk.
//
// On opening the font list holds the system's families without its first entry, the sizes run from
// 8 to 72, and "Arial" and 22 are preselected without anything being asked of the main window (no
// font row is selected when Arial is not installed; alignment then changes the preview only).

#include "windows/ui/colourframe.h"
#include "windows/ui/textstyler.h"

#include <QWidget>

#include <array>

class QComboBox;
class QGroupBox;
class QTextEdit;

namespace lumora::platform {
class CommonDialog;
class RichTextBox;
} // namespace lumora::platform

namespace lumora::windows {

class ClickLabel;

class FrmPolice final : public QWidget {
    Q_OBJECT
  public:
    // A window of its own over `owner` (the main window); deleted when it closes.
    FrmPolice(platform::CommonDialog& dialogs, QWidget* owner);

    bool TextColourMode() const { return m_textColourMode; }
    bool FillColourMode() const { return m_fillColourMode; }
    bool DialogReady() const { return m_ready; }
    platform::RichTextBox& preview() { return *m_preview; }
    // The size box shows `points` (the passage's size, when the Bible tab comes back); as a pick of
    // that row, it is applied.
    void showFontSize(double points);
    // The mouse events of the colour table, as the event filter reports them.
    void pointer(PointerEvent event, QWidget* pointed = nullptr);

  signals:
    void styleEdited(const lumora::windows::StyleEdit& edit);
    void backgroundPictureChosen(const QString& path);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

  private:
    void buildWidgets();
    void open();
    void onFontPicked(int row);
    void onSizePicked(int row);
    void toggle(StyleEdit::Property property);
    void align(qint32 value);
    void previewSwatch(int i);
    void applySwatch(int i);
    void chooseBackground();
    void selectAllInPreview();

    platform::CommonDialog& m_dialogs;
    QComboBox* ComboBox_Police;
    QComboBox* ComboBox_Taille;
    ClickLabel* Im_gras;
    ClickLabel* Im_italic;
    ClickLabel* Im_souligne;
    ClickLabel* Im_AGauche;
    ClickLabel* Im_center;
    ClickLabel* Im_droite;
    ClickLabel* Im_couleurText;
    ClickLabel* Im_remplissage;
    ClickLabel* Lbl_font;
    ClickLabel* Lbl_remplissage;
    QGroupBox* Frame_couleur;
    std::array<ClickLabel*, 48> Couleur{};
    ClickLabel* Lbl_Arriere_plan;
    QTextEdit* Text_Appercu;
    platform::RichTextBox* m_preview;
    bool m_textColourMode = false; // TextColourMode
    bool m_fillColourMode = false; // FillColourMode
    bool m_ready = false;          // DialogReady
};

} // namespace lumora::windows
