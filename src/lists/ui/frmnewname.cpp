#include "lists/ui/frmnewname.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace lumora::lists {

FrmNewName::FrmNewName(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("Frm_NewName"));
    setWindowTitle(QStringLiteral("Rename"));
    m_label = new QLabel(QStringLiteral("E n t e r   F a v o r i   N a m e :"), this);
    m_label->setObjectName(QStringLiteral("Label1"));
    m_name = new QLineEdit(QStringLiteral("New_name"), this);
    m_name->setObjectName(QStringLiteral("New_name"));
    m_ok = new QPushButton(QStringLiteral("OK"), this);
    m_ok->setObjectName(QStringLiteral("Cmd_OK"));
    m_ok->setDefault(true);
    m_cancel = new QPushButton(QStringLiteral("Cancel"), this);
    m_cancel->setObjectName(QStringLiteral("Cmd_Cancel"));

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_ok);
    buttons->addWidget(m_cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_label);
    layout->addWidget(m_name);
    layout->addLayout(buttons);

    connect(m_ok, &QPushButton::clicked, this, &FrmNewName::onOkClicked);
    connect(m_cancel, &QPushButton::clicked, this, &QWidget::hide);
}

void FrmNewName::ask(const QString& caption, const QString& name, bool modal,
                     std::function<void(const QString&)> onConfirm) {
    setWindowTitle(caption);
    m_name->setText(name);
    m_onConfirm = std::move(onConfirm);
    // Hidden first: the modality of a visible window cannot change.
    hide();
    setWindowModality(modal ? Qt::ApplicationModal : Qt::NonModal);
    show();
    m_name->setFocus();
}

void FrmNewName::onOkClicked() {
    hide();
    // Taken out first: the callback may open the dialog again.
    auto onConfirm = std::move(m_onConfirm);
    m_onConfirm = nullptr;
    if (onConfirm) onConfirm(m_name->text());
}

} // namespace lumora::lists
