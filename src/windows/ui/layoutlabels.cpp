#include "windows/ui/layoutlabels.h"

#include "windows/ui/clicklabel.h"

#include <QHBoxLayout>

namespace lumora::windows {

namespace {
ClickLabel* button(QWidget* parent, const char* name, const char* caption) {
    auto* label = new ClickLabel(QString::fromLatin1(name), QString::fromLatin1(caption), parent);
    label->setFrameShape(QFrame::Panel);
    label->setFrameShadow(QFrame::Raised);
    label->setMargin(2);
    return label;
}

QWidget* pair(QWidget* page, ClickLabel*& width, ClickLabel*& police, const char* widthName,
              const char* policeName) {
    auto* box = new QWidget(page);
    auto* layout = new QHBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    width = button(box, widthName, kNarrowCaption);
    police = button(box, policeName, "POLICE");
    layout->addWidget(width);
    layout->addWidget(police);
    return box;
}
} // namespace

LayoutLabels::LayoutLabels(QWidget* biblePage, QWidget* canticlePage, QObject* parent) : QObject(parent) {
    m_bible = pair(biblePage, Label7, Label15, "Label7", "Label15");
    m_canticle = pair(canticlePage, Label14, Label17, "Label14", "Label17");
    for (ClickLabel* police : {Label15, Label17})
        police->setToolTip(tr("Open the font and colour dialog"));
    showWidthTips();
    connect(Label7, &ClickLabel::clicked, this, &LayoutLabels::toggleBibleWidth);
    connect(Label14, &ClickLabel::clicked, this, &LayoutLabels::toggleCanticleWidth);
    connect(Label15, &ClickLabel::clicked, this, &LayoutLabels::fontDialogWanted);
    connect(Label17, &ClickLabel::clicked, this, &LayoutLabels::fontDialogWanted);
}

void LayoutLabels::toggleBibleWidth() {
    m_bibleWide = !m_bibleWide;
    Label7->setText(QString::fromLatin1(m_bibleWide ? kWideCaption : kNarrowCaption));
    showWidthTips();
    emit bibleTextWidened(m_bibleWide);
}

void LayoutLabels::toggleCanticleWidth() {
    m_canticleWide = !m_canticleWide;
    Label14->setText(QString::fromLatin1(m_canticleWide ? kWideCaption : kNarrowCaption));
    showWidthTips();
    emit canticleTextWidened(m_canticleWide);
}

void LayoutLabels::showWidthTips() {
    Label7->setToolTip(m_bibleWide ? tr("Narrow the passage and show the lists again")
                                   : tr("Widen the passage over the lists"));
    Label14->setToolTip(m_canticleWide ? tr("Narrow the words and show the details again")
                                       : tr("Widen the words over the details"));
}

} // namespace lumora::windows
