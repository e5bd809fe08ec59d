#pragma once
// A spin button without a value of its own: an adding (up) and a subtracting (down) arrow.

#include <QWidget>

class QToolButton;

namespace lumora::platform {

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

} // namespace lumora::platform
