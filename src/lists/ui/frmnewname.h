#pragma once
// Frm_NewName: asks for a list's new name. Created once and hidden, not closed, after each use;
// the caption and the text are set again before every use.

#include <QDialog>

#include <functional>

class QLabel;
class QLineEdit;
class QPushButton;

namespace lumora::lists {

class FrmNewName final : public QDialog {
    Q_OBJECT
  public:
    explicit FrmNewName(QWidget* parent = nullptr);

    // Shows the dialog with caption and name; on Cmd_OK it hides and calls onConfirm with the
    // typed text. Modal blocks the other windows without blocking the caller. A later ask()
    // replaces the pending callback.
    void ask(const QString& caption, const QString& name, bool modal,
             std::function<void(const QString&)> onConfirm);

    QLineEdit* nameEdit() const { return m_name; }
    QPushButton* okButton() const { return m_ok; }
    QPushButton* cancelButton() const { return m_cancel; }

  private slots:
    void onOkClicked();

  private:
    QLineEdit* m_name;
    QLabel* m_label;
    QPushButton* m_ok;
    QPushButton* m_cancel;
    std::function<void(const QString&)> m_onConfirm;
};

} // namespace lumora::lists
