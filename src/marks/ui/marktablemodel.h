#pragma once
// ListView1 as a table model: the rows 1..286 of a MarkTable, columns "Marking", "New" and "Old".
// Row r of the model is row r + 1 of the table; column 0 carries the row's key ("Cle_1" ...) as
// Qt::UserRole. A New mark suggested in doubt is coloured, with the reason as its tooltip, while
// the row's New still holds the suggested text in the chapter it was suggested for.
//
// Changing the table changes the cells in place (no reset), so the view keeps its current row.

#include "marks/marktable.h"

#include <QAbstractTableModel>
#include <QByteArray>
#include <QHash>
#include <QString>

#include <utility>

namespace lumora::marks {

class MarkTableModel final : public QAbstractTableModel {
    Q_OBJECT
  public:
    // Suggested New marks to check by ear: table row -> (the suggested New text, why).
    using Doubts = QHash<int, std::pair<QByteArray, QString>>;

    explicit MarkTableModel(QObject* parent = nullptr);

    const MarkTable& table() const { return m_table; }
    // The whole table replaced; `chapterKey` names the chapter it shows (version, book, chapter).
    void setTable(const MarkTable& table, const QByteArray& chapterKey);
    // Changes the table through `change`, then shows every row again.
    template <typename Change> void change(Change&& change) {
        std::forward<Change>(change)(m_table);
        rowsChanged(1, kMaxVerses);
    }
    // Changes one row's New mark as the table's setNewMark does; returns that row.
    std::optional<int> setNewMark(const QByteArray& soundPrefix, const QByteArray& label,
                                  const QByteArray& position);
    // Doubts about the New marks of the chapter now shown; they replace earlier ones.
    void setDoubts(const Doubts& doubts);

    // The "Marking" text of table row `row` (1..286), "" beyond.
    QString marking(int row) const;
    QString newMark(int row) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

  private:
    void rowsChanged(int first, int last);
    // The reason a row's New is in doubt, or nullptr.
    const QString* doubtOf(int row) const;

    MarkTable m_table;
    QByteArray m_chapterKey;
    Doubts m_doubts;
    QByteArray m_doubtsChapterKey;
};

} // namespace lumora::marks
