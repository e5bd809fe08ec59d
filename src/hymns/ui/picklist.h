#pragma once
// The drop-down lists of the Canticle tab and how they are filled and picked from code.

#include <QComboBox>
#include <QStringList>

namespace lumora::hymns {

// A drop-down list that also reports a pick of the row already selected (the lists refill on
// such a pick, as the user expects when choosing the same book again).
class PickList final : public QComboBox {
  public:
    using QComboBox::QComboBox;
    void showPopup() override;
    // The row selected when the popup opened; -2 when no popup pick is under way.
    int indexAtPopup = -2;

    // Runs `handler(row)` on every pick: a change of row, or the row already selected chosen again.
    template <typename Receiver> void onPick(Receiver* receiver, void (Receiver::*handler)(int)) {
        connect(this, &QComboBox::currentIndexChanged, receiver, handler);
        // Choosing the row already selected changes no index but is still a pick.
        connect(this, &QComboBox::activated, receiver, [this, receiver, handler](int index) {
            const bool samePick = index == indexAtPopup;
            indexAtPopup = -2;
            if (samePick) (receiver->*handler)(index);
        });
    }
};

// Refills a list without running its handler; no row is selected afterwards, so selecting row 0
// is a change that runs the handler.
void refill(QComboBox* list, const QStringList& rows);
inline void clearList(QComboBox* list) {
    refill(list, {});
}
// Selects row i as a pick would (runs the handler when the row changes).
void selectRow(QComboBox* list, int i);
// Sets a list's value as a pick would: the row equal to `text` is selected, which runs its
// handler; the current row, or a text not in the list, changes nothing.
void setListValue(QComboBox* list, const QString& text);
// "3 / 12": row index 2 of 12.
QString pickCounter(int index, int count);

} // namespace lumora::hymns
