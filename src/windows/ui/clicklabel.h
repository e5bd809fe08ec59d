#pragma once
// A label used as a button, as the main window's small caption buttons and the font dialog's
// pictures and swatches are: it reports a press, a click (press and release on it) and a right click.
// Tab reaches it like a button, and Enter or Space clicks it.

#include <QLabel>

namespace lumora::windows {

class ClickLabel final : public QLabel {
    Q_OBJECT
  public:
    ClickLabel(const QString& name, const QString& caption, QWidget* parent = nullptr);

  signals:
    void pressed();
    void clicked();
    void rightClicked(const QPoint& globalPos);

  protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    bool m_down = false;
};

} // namespace lumora::windows
