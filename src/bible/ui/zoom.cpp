#include "bible/ui/zoom.h"

#include "bible/zoom/zoomratio.h"
#include "platform/spinarrows.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QShortcut>
#include <QToolButton>

namespace lumora::bible {

namespace {
QWidget* control(QWidget* page, platform::SpinArrows*& spin, QLabel*& label, const char* spinName,
                 const char* labelName) {
    auto* box = new QWidget(page);
    auto* layout = new QHBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    spin = new platform::SpinArrows(QString::fromLatin1(spinName), box);
    spin->setToolTip(QStringLiteral(" Z O O M "));
    spin->upArrow()->setToolTip(QObject::tr("Larger text"));
    spin->downArrow()->setToolTip(QObject::tr("Smaller text"));
    label = new QLabel(zoomLabel(100), box);
    label->setObjectName(QString::fromLatin1(labelName));
    layout->addWidget(spin);
    layout->addWidget(label);
    return box;
}
} // namespace

Zoom::Zoom(platform::RichTextBox& passageBox, QWidget* biblePage, QWidget* canticlePage, QObject* parent)
    : QObject(parent), m_passageBox(passageBox) {
    m_bible = control(biblePage, SpinButton_Size, Label20, "SpinButton_Size", "Label20");
    m_canticle =
        control(canticlePage, SpinButton_SizeCantique, Label21, "SpinButton_SizeCantique", "Label21");
    connect(SpinButton_Size, &platform::SpinArrows::stepped, this, &Zoom::onBibleStep);
    connect(SpinButton_SizeCantique, &platform::SpinArrows::stepped, this, &Zoom::onCanticleStep);
}

void Zoom::SetZoom(int percent) {
    const auto ratio = zoomRatio(percent);
    if (!ratio) return;
    if (m_tab == 0) {
        m_passageBox.setZoom(ratio->numerator, ratio->denominator);
        m_bibleZoom = percent;
        Label20->setText(zoomLabel(m_bibleZoom));
    } else if (m_tab == 1) {
        if (m_canticleBox) m_canticleBox->setZoom(ratio->numerator, ratio->denominator);
        m_canticleZoom = static_cast<qint16>(percent);
        Label21->setText(zoomLabel(m_canticleZoom));
    }
    emit zoomApplied(m_tab, ratio->numerator, ratio->denominator);
}

void Zoom::installShortcuts(QWidget* biblePage, QWidget* canticlePage) {
    const QKeySequence in(QKeySequence::ZoomIn), out(QKeySequence::ZoomOut);
    const auto add = [this](const QKeySequence& keys, QWidget* page, void (Zoom::*step)(bool), bool up) {
        auto* s = new QShortcut(keys, page);
        s->setContext(Qt::WidgetWithChildrenShortcut);
        connect(s, &QShortcut::activated, this, [this, step, up] { (this->*step)(up); });
    };
    add(in, biblePage, &Zoom::onBibleStep, true);
    add(out, biblePage, &Zoom::onBibleStep, false);
    add(in, canticlePage, &Zoom::onCanticleStep, true);
    add(out, canticlePage, &Zoom::onCanticleStep, false);
    for (QWidget* spin :
         {static_cast<QWidget*>(SpinButton_Size), static_cast<QWidget*>(SpinButton_SizeCantique)})
        spin->setToolTip(
            QStringLiteral(" Z O O M  (%1 / %2)")
                .arg(in.toString(QKeySequence::NativeText), out.toString(QKeySequence::NativeText)));
}

void Zoom::onTabChanged(int tab) {
    m_tab = tab;
    if (tab == 0) m_request = m_bibleZoom;
}

void Zoom::resetCanticleZoom() {
    m_canticleZoom = 100;
    Label21->setText(zoomLabel(m_canticleZoom));
    if (m_canticleBox) m_canticleBox->setZoom(0, 0);
}

void Zoom::stepZoom(bool up) {
    if (m_tab == 1)
        onCanticleStep(up);
    else
        onBibleStep(up);
}

void Zoom::onBibleStep(bool up) {
    m_request = zoomStepRequest(m_bibleZoom, up);
    SetZoom(m_request);
}

void Zoom::onCanticleStep(bool up) {
    m_request = zoomStepRequest(m_canticleZoom, up);
    SetZoom(m_request);
}

} // namespace lumora::bible
