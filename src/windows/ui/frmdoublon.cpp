#include "windows/ui/frmdoublon.h"

#include "platform/backdropbox.h"
#include "platform/richtextbox.h"
#include "windows/ui/versepanel.h"

#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QMouseEvent>
#include <QTextEdit>
#include <QVBoxLayout>

namespace lumora::windows {

FrmDoublon::FrmDoublon() : QWidget(nullptr, Qt::Window | Qt::WindowStaysOnTopHint) {
    setObjectName(QStringLiteral("Frm_doublon"));
    setAttribute(Qt::WA_DeleteOnClose);
    Text_Passage = new QTextEdit;
    Text_Passage->setObjectName(QStringLiteral("Text_Passage"));
    Text_Passage->setReadOnly(true);
    // Selectable by the mouse only: no caret is drawn, the selection of the verse heard still is.
    Text_Passage->setTextInteractionFlags(Qt::TextSelectableByMouse);
    Text_Passage->setFrameShape(QFrame::NoFrame);
    m_box = new platform::RichTextBox(Text_Passage);
    m_backdrop = new platform::BackdropBox(Text_Passage, QStringLiteral("Image_Doublon"), this);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_backdrop);
    m_panel = new VersePanel(this);
    m_panel->hide();
    layout->addWidget(m_panel);
    // The clone's own menu replaces the text box's (copy, select all), which has no use on a projector.
    Text_Passage->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(Text_Passage, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { emit menuWanted(Text_Passage->viewport()->mapToGlobal(at)); });
    Text_Passage->viewport()->installEventFilter(this);
    resize(800, 600);
}

void FrmDoublon::setProjector(bool on) {
    m_projector = on;
    const auto policy = on ? Qt::ScrollBarAlwaysOff : Qt::ScrollBarAsNeeded;
    Text_Passage->setVerticalScrollBarPolicy(policy);
    Text_Passage->setHorizontalScrollBarPolicy(policy);
}

void FrmDoublon::setPanelShown(bool shown) {
    m_backdrop->setVisible(!shown);
    m_panel->setVisible(shown);
}

bool FrmDoublon::isPanelShown() const {
    return !m_panel->isHidden();
}

void FrmDoublon::contextMenuEvent(QContextMenuEvent* event) {
    emit menuWanted(event->globalPos());
}

void FrmDoublon::closeEvent(QCloseEvent* event) {
    emit closing();
    event->accept();
}

bool FrmDoublon::eventFilter(QObject* watched, QEvent* event) {
    if (watched == Text_Passage->viewport() && event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton)
        emit boxClicked();
    return QWidget::eventFilter(watched, event);
}

} // namespace lumora::windows
