#pragma once
// Text size of the passage and hymn boxes: a spin button and a label per tab, and SetZoom.
//
// The zoom scales what a box shows only: nothing saved, exported or printed changes.

#include "platform/richtextbox.h"

#include <QObject>

class QLabel;
class QWidget;

namespace lumora::platform {
class SpinArrows;
}

namespace lumora::bible {

class Zoom final : public QObject {
    Q_OBJECT
  public:
    // The Bible tab's spinner and label are created under `biblePage`, the Canticle tab's under
    // `canticlePage`; `passageBox` is Text_Passage.
    Zoom(platform::RichTextBox& passageBox, QWidget* biblePage, QWidget* canticlePage,
         QObject* parent = nullptr);

    // SpinButton_Size with Label20; SpinButton_SizeCantique with Label21.
    QWidget* bibleControl() const { return m_bible; }
    QWidget* canticleControl() const { return m_canticle; }
    // Text_Cantique, owned by the hymn area.
    void setCanticleBox(platform::RichTextBox* box) { m_canticleBox = box; }

    // Applies `percent` to the box of the visible tab; values outside 5..500 change nothing.
    // The visible tab's zoom (BibleZoom or CanticleZoom) and label then hold ZoomRequest.
    void SetZoom(int percent);
    int ZoomRequest() const { return m_request; }
    int BibleZoom() const { return m_bibleZoom; }
    int CanticleZoom() const { return m_canticleZoom; }
    // Ctrl++ and Ctrl+- step the zoom of the tab that has the focus; the spinners' tooltips say so.
    void installShortcuts(QWidget* biblePage, QWidget* canticlePage);

  public slots:
    // Ctrl++ (up) or Ctrl+- on the tab in view.
    void stepZoom(bool up);
    // The tab now shown (0 Bible, 1 Canticle); on the Bible tab ZoomRequest becomes BibleZoom.
    void onTabChanged(int tab);
    // A hymn was picked: its words start at 100 percent.
    void resetCanticleZoom();

  signals:
    // The ratio just applied to the box of `tab`, for a copy of that box elsewhere (the clone window).
    void zoomApplied(int tab, int numerator, int denominator);

  private:
    void onBibleStep(bool up);
    void onCanticleStep(bool up);

    platform::RichTextBox& m_passageBox;
    platform::RichTextBox* m_canticleBox = nullptr;
    QWidget* m_bible;
    QWidget* m_canticle;
    platform::SpinArrows* SpinButton_Size;
    QLabel* Label20;
    platform::SpinArrows* SpinButton_SizeCantique;
    QLabel* Label21;
    int m_tab = 0;
    int m_request = 100;         // ZoomRequest
    int m_bibleZoom = 100;       // BibleZoom
    qint16 m_canticleZoom = 100; // CanticleZoom
};

} // namespace lumora::bible
