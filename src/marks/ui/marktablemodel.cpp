#include "marks/ui/marktablemodel.h"

#include <QColor>

namespace lumora::marks {

namespace {
enum Column { Marking, New, Old, ColumnCount };
} // namespace

MarkTableModel::MarkTableModel(QObject* parent) : QAbstractTableModel(parent) {}

void MarkTableModel::setTable(const MarkTable& table, const QByteArray& chapterKey) {
    m_table = table;
    m_chapterKey = chapterKey;
    rowsChanged(1, kMaxVerses);
}

std::optional<int> MarkTableModel::setNewMark(const QByteArray& soundPrefix, const QByteArray& label,
                                              const QByteArray& position) {
    const auto row = m_table.setNewMark(soundPrefix, label, position);
    if (row) rowsChanged(*row, *row);
    return row;
}

void MarkTableModel::setDoubts(const Doubts& doubts) {
    m_doubts = doubts;
    m_doubtsChapterKey = m_chapterKey;
    rowsChanged(1, kMaxVerses);
}

QString MarkTableModel::marking(int row) const {
    return QString::fromUtf8(m_table.row(row).text);
}

QString MarkTableModel::newMark(int row) const {
    return QString::fromUtf8(m_table.row(row).newMark);
}

void MarkTableModel::rowsChanged(int first, int last) {
    emit dataChanged(index(first - 1, 0), index(last - 1, ColumnCount - 1));
}

const QString* MarkTableModel::doubtOf(int row) const {
    const auto doubt = m_doubts.constFind(row);
    if (doubt == m_doubts.cend() || m_doubtsChapterKey != m_chapterKey ||
        doubt->first != m_table.row(row).newMark)
        return nullptr;
    return &doubt->second;
}

int MarkTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kMaxVerses;
}

int MarkTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant MarkTableModel::data(const QModelIndex& index, int role) const {
    if (!checkIndex(index, CheckIndexOption::IndexIsValid)) return {};
    const int row = index.row() + 1;
    const MarkRow& r = m_table.row(row);
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
        return QString::fromUtf8(index.column() == Marking ? r.text
                                 : index.column() == New   ? r.newMark
                                                           : r.oldMark);
    case Qt::UserRole:
        if (index.column() == Marking) return QStringLiteral("Cle_") + QString::number(row);
        return {};
    case Qt::BackgroundRole:
        if (index.column() == New && doubtOf(row)) return QColor(255, 214, 153);
        return {};
    case Qt::ToolTipRole:
        if (index.column() != New) return {};
        if (const QString* why = doubtOf(row)) return *why;
        return {};
    default:
        return {};
    }
}

QVariant MarkTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
    switch (section) {
    case Marking:
        return QStringLiteral("Marking");
    case New:
        return QStringLiteral("New");
    case Old:
        return QStringLiteral("Old");
    default:
        return {};
    }
}

Qt::ItemFlags MarkTableModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) return Qt::NoItemFlags;
    return Qt::ItemIsSelectable | Qt::ItemIsEnabled;
}

} // namespace lumora::marks
