#pragma once
// Text size of the passage and hymn boxes (a spin button and a label per tab, and SetZoom), and
// the 0.1 steps of the two position fields.
//
// The zoom scales what a box shows only: nothing saved, exported or printed changes.

#include "app/appstate.h"
#include "platform/richtextbox.h"

#include <QObject>
#include <QWidget>

class QLabel;
class QLineEdit;
class QTabWidget;
class QToolButton;

namespace lumora::bible {

// A spin button without a value of its own: an adding (up) and a subtracting (down) arrow.
class SpinArrows final : public QWidget {
    Q_OBJECT
  public:
    explicit SpinArrows(const QString& objectName, QWidget* parent = nullptr);
    QToolButton* upArrow() const { return m_up; }
    QToolButton* downArrow() const { return m_down; }

  signals:
    void stepped(bool up);

  private:
    QToolButton* m_up;
    QToolButton* m_down;
};

class Zoom final : public QObject {
    Q_OBJECT
  public:
    // `tabs` is SSTab_LMR (tab 0 Bible, tab 1 Canticle). The Bible tab's spinner and label go
    // into `bibleRow`, the Canticle tab's into `canticleRow`, when given.
    Zoom(app::AppState& state, QTabWidget* tabs, platform::RichTextBox* passageBox, QWidget* bibleRow,
         QWidget* canticleRow, QObject* parent = nullptr);

    SpinArrows* SpinButton_Size = nullptr;
    QLabel* Label20 = nullptr;
    SpinArrows* SpinButton_SizeCantique = nullptr;
    QLabel* Label21 = nullptr;
    SpinArrows* SpinPositionCapture = nullptr;
    SpinArrows* SpPosition = nullptr;

    // The boxes and fields other areas own; each may be left null until that area exists.
    void setCanticleBox(platform::RichTextBox* box) { m_canticleBox = box; }
    void setCaptureField(QLineEdit* txtEchantillon) { m_capture = txtEchantillon; }
    void setPositionLabel(QLabel* lblPosition) { m_position = lblPosition; }

    // Applies `percent` to the box of the visible tab; values outside 5..500 change nothing.
    // The visible tab's zoom (BibleZoom or CanticleZoom) and label then hold `percent`.
    void SetZoom(int percent);

  signals:
    // The ratio just applied to the box of `tab`, for the clone window's box; raised only when
    // the clone shows that tab's text (CloneShowsBible for tab 0, its negation for tab 1).
    void cloneZoomRequested(int tab, int numerator, int denominator);

  private:
    void onBibleStep(bool up);
    void onCanticleStep(bool up);
    void onCaptureStep(bool up);
    void onPositionStep(bool up);

    app::AppState& m_state;
    QTabWidget* m_tabs;
    platform::RichTextBox* m_passageBox;
    platform::RichTextBox* m_canticleBox = nullptr;
    QLineEdit* m_capture = nullptr;
    QLabel* m_position = nullptr;
};

} // namespace lumora::bible
