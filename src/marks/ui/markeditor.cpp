#include "marks/ui/markeditor.h"

#include "bible/zoom/zoomratio.h"
#include "platform/spinarrows.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QTreeWidget>

namespace lumora::marks {

namespace {
constexpr int kTwipsPerPixel = 15;
}

MarkEditor::MarkEditor(QWidget* page, QObject* parent) : QObject(parent) {
    ListView1 = new QTreeWidget(page);
    ListView1->setObjectName(QStringLiteral("ListView1"));
    ListView1->setRootIsDecorated(false);
    ListView1->setColumnCount(3);
    ListView1->setHeaderLabels({QStringLiteral("Marking"), QStringLiteral("New"), QStringLiteral("Old")});
    for (int c = 0; c < 3; ++c)
        ListView1->header()->resizeSection(c, 1020 / kTwipsPerPixel);
    QList<QTreeWidgetItem*> rows;
    rows.reserve(kMarkRows);
    for (int i = 1; i <= kMarkRows; ++i) {
        auto* row = new QTreeWidgetItem(QStringList{QString(), QString(), QString()});
        row->setData(0, Qt::UserRole, QStringLiteral("Cle_") + QString::number(i));
        rows.append(row);
    }
    ListView1->addTopLevelItems(rows);
    ListView1->hide();

    m_positionRow = new QWidget(page);
    auto* layout = new QHBoxLayout(m_positionRow);
    layout->setContentsMargins(0, 0, 0, 0);
    Label4 = new QLabel(m_positionRow);
    Label4->setObjectName(QStringLiteral("Label4"));
    Lbl_Position = new QLabel(QStringLiteral("0,0000"), m_positionRow);
    Lbl_Position->setObjectName(QStringLiteral("Lbl_Position"));
    SpPosition = new platform::SpinArrows(QStringLiteral("SpPosition"), m_positionRow);
    for (QWidget* w : std::initializer_list<QWidget*>{Label4, Lbl_Position, SpPosition}) {
        w->hide(); // shown with the mark widgets
        layout->addWidget(w);
    }
    connect(SpPosition, &platform::SpinArrows::stepped, this, [this](bool up) {
        // A position label holds a mark text, whose decimal separator is always the comma.
        if (const auto next = bible::stepPosition(Lbl_Position->text(), up, u","))
            Lbl_Position->setText(*next);
    });
}

QWidget* MarkEditor::table() const {
    return ListView1;
}

void MarkEditor::onChapterChosen(const QByteArray& soundPrefix, int chapter, int verseCount) {
    const QString base = QString::fromUtf8(soundPrefix) + QString::number(chapter) + QLatin1Char('.');
    for (int i = 1; i <= kMarkRows; ++i) {
        QTreeWidgetItem* row = ListView1->topLevelItem(i - 1);
        row->setText(0, i <= verseCount ? base + QString::number(i) : QString());
        row->setText(1, QString());
        row->setText(2, QString());
    }
}

void MarkEditor::selectRow(int index) {
    if (QTreeWidgetItem* row = ListView1->topLevelItem(index)) {
        ListView1->setCurrentItem(row);
        Label4->setText(row->text(0));
    }
}

void MarkEditor::onVerseSelected(int index) {
    selectRow(index);
    if (QTreeWidgetItem* row = ListView1->topLevelItem(index)) Lbl_Position->setText(row->text(1));
}

void MarkEditor::onPassageAudioStarted(const QByteArray& mark, int verseIndex) {
    if (!mark.isEmpty()) Lbl_Position->setText(QString::fromLatin1(mark));
    selectRow(verseIndex);
}

} // namespace lumora::marks
