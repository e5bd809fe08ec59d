#include "bible/ui/zoom.h"

#include "bible/zoom/zoomratio.h"

#include <QBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>

namespace lumora::bible {

SpinArrows::SpinArrows(const QString& objectName, QWidget* parent) : QWidget(parent) {
    setObjectName(objectName);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    m_up = new QToolButton(this);
    m_up->setObjectName(QStringLiteral("up"));
    m_up->setArrowType(Qt::UpArrow);
    m_down = new QToolButton(this);
    m_down->setObjectName(QStringLiteral("down"));
    m_down->setArrowType(Qt::DownArrow);
    for (QToolButton* b : {m_up, m_down}) {
        b->setAutoRepeat(true);
        b->setFixedSize(18, 11);
        layout->addWidget(b);
    }
    connect(m_up, &QToolButton::clicked, this, [this] { emit stepped(true); });
    connect(m_down, &QToolButton::clicked, this, [this] { emit stepped(false); });
}

Zoom::Zoom(app::AppState& state, QTabWidget* tabs, platform::RichTextBox* passageBox, QWidget* bibleRow,
           QWidget* canticleRow, QObject* parent)
    : QObject(parent), m_state(state), m_tabs(tabs), m_passageBox(passageBox) {
    SpinButton_Size = new SpinArrows(QStringLiteral("SpinButton_Size"), bibleRow);
    Label20 = new QLabel(zoomLabel(100), bibleRow);
    Label20->setObjectName(QStringLiteral("Label20"));
    SpinButton_SizeCantique = new SpinArrows(QStringLiteral("SpinButton_SizeCantique"), canticleRow);
    Label21 = new QLabel(zoomLabel(100), canticleRow);
    Label21->setObjectName(QStringLiteral("Label21"));
    for (SpinArrows* s : {SpinButton_Size, SpinButton_SizeCantique})
        s->setToolTip(QStringLiteral(" Z O O M "));
    SpinPositionCapture = new SpinArrows(QStringLiteral("SpinPositionCapture"), canticleRow);
    SpinPositionCapture->hide(); // shown with the capture tools
    SpPosition = new SpinArrows(QStringLiteral("SpPosition"), bibleRow);
    SpPosition->hide(); // shown with the mark widgets

    if (auto* layout = bibleRow ? qobject_cast<QBoxLayout*>(bibleRow->layout()) : nullptr) {
        layout->addWidget(SpPosition);
        layout->addStretch(1);
        layout->addWidget(SpinButton_Size);
        layout->addWidget(Label20);
    }
    if (auto* layout = canticleRow ? qobject_cast<QBoxLayout*>(canticleRow->layout()) : nullptr) {
        layout->insertWidget(0, SpinPositionCapture);
        layout->addWidget(SpinButton_SizeCantique);
        layout->addWidget(Label21);
    }

    connect(SpinButton_Size, &SpinArrows::stepped, this, &Zoom::onBibleStep);
    connect(SpinButton_SizeCantique, &SpinArrows::stepped, this, &Zoom::onCanticleStep);
    connect(SpinPositionCapture, &SpinArrows::stepped, this, &Zoom::onCaptureStep);
    connect(SpPosition, &SpinArrows::stepped, this, &Zoom::onPositionStep);
}

void Zoom::SetZoom(int percent) {
    const auto ratio = zoomRatio(percent);
    if (!ratio) return;
    const int tab = m_tabs ? m_tabs->currentIndex() : 0;
    if (tab == 0) {
        if (m_passageBox) m_passageBox->setZoom(ratio->numerator, ratio->denominator);
        if (m_state.CloneShowsBible) emit cloneZoomRequested(0, ratio->numerator, ratio->denominator);
        m_state.BibleZoom = percent;
        Label20->setText(zoomLabel(m_state.BibleZoom));
    } else if (tab == 1) {
        if (m_canticleBox) m_canticleBox->setZoom(ratio->numerator, ratio->denominator);
        if (!m_state.CloneShowsBible) emit cloneZoomRequested(1, ratio->numerator, ratio->denominator);
        m_state.CanticleZoom = static_cast<qint16>(percent);
        Label21->setText(zoomLabel(m_state.CanticleZoom));
    }
}

void Zoom::onBibleStep(bool up) {
    m_state.ZoomRequest = zoomStepRequest(m_state.BibleZoom, up);
    SetZoom(m_state.ZoomRequest);
}

void Zoom::onCanticleStep(bool up) {
    m_state.ZoomRequest = zoomStepRequest(m_state.CanticleZoom, up);
    SetZoom(m_state.ZoomRequest);
}

void Zoom::onCaptureStep(bool up) {
    if (!m_capture) return;
    if (const auto next = stepPosition(m_capture->text(), up)) m_capture->setText(*next);
}

void Zoom::onPositionStep(bool up) {
    if (!m_position) return;
    // A position label holds a mark text, whose decimal separator is always the comma.
    if (const auto next = stepPosition(m_position->text(), up, u",")) m_position->setText(*next);
}

} // namespace lumora::bible
