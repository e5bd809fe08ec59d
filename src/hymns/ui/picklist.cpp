#include "hymns/ui/picklist.h"

namespace lumora::hymns {

void PickList::showPopup() {
    indexAtPopup = currentIndex();
    QComboBox::showPopup();
}

void refill(QComboBox* list, const QStringList& rows) {
    const QSignalBlocker block(list);
    list->clear();
    list->addItems(rows);
    list->setCurrentIndex(-1);
}

void selectRow(QComboBox* list, int i) {
    if (i >= 0 && i < list->count()) list->setCurrentIndex(i);
}

void setListValue(QComboBox* list, const QString& text) {
    const int row = list->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (row >= 0 && row != list->currentIndex()) list->setCurrentIndex(row);
}

QString pickCounter(int index, int count) {
    return QString::number(index + 1) + QStringLiteral(" / ") + QString::number(count);
}

} // namespace lumora::hymns
