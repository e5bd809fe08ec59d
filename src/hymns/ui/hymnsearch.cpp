#include "hymns/ui/hymnsearch.h"

#include "hymns/hymnstore.h"
#include "hymns/ui/picklist.h"
#include "platform/findkey.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace lumora::hymns {

HymnSearch::HymnSearch(QWidget* page, QObject* parent) : QObject(parent) {
    Cantique_achercher = new QLineEdit(page);
    Cantique_achercher->setObjectName(QStringLiteral("Cantique_achercher"));
    Cmd_cherche_cantique = new QPushButton(QStringLiteral("Search"), page);
    Cmd_cherche_cantique->setObjectName(QStringLiteral("Cmd_cherche_cantique"));
    ComboBox_cantique_trouve = new PickList(page);
    ComboBox_cantique_trouve->setObjectName(QStringLiteral("ComboBox_cantique_trouve"));
    ComboBox_cantique_trouve->setMinimumContentsLength(16);
    Lbl_Nbr_cantique_trouve = new QLabel(page);
    Lbl_Nbr_cantique_trouve->setObjectName(QStringLiteral("Lbl_Nbr_cantique_trouve"));
    // The counter has room for its widest text from the start: the row never reflows.
    Lbl_Nbr_cantique_trouve->setMinimumWidth(
        Lbl_Nbr_cantique_trouve->fontMetrics().horizontalAdvance(QStringLiteral("0000 / 0000")));

    m_row = new QWidget(page);
    auto* search = new QHBoxLayout(m_row);
    search->setContentsMargins(0, 0, 0, 0);
    search->addWidget(Cantique_achercher, 1);
    search->addWidget(Cmd_cherche_cantique);
    search->addWidget(ComboBox_cantique_trouve, 2);
    search->addWidget(Lbl_Nbr_cantique_trouve);

    ComboBox_cantique_trouve->onPick(this, &HymnSearch::onHitPicked);
    connect(Cmd_cherche_cantique, &QPushButton::clicked, this, &HymnSearch::searchWanted);
    connect(Cantique_achercher, &QLineEdit::returnPressed, this, &HymnSearch::searchWanted);
}

void HymnSearch::setSearchHalves(int textWidth, int resultsWidth) {
    Cantique_achercher->setFixedWidth(std::max(textWidth, 0));
    ComboBox_cantique_trouve->setMaximumWidth(std::max(resultsWidth, 0));
}

void HymnSearch::installShortcuts(QWidget* page) {
    platform::installFindKey(page, Cantique_achercher, Cmd_cherche_cantique,
                             QStringLiteral("Search the hymns (Enter; %1 goes to the words)"));
}

bool HymnSearch::run(const QString& cantiques, const QStringList& books) {
    m_ready = false;
    clearList(ComboBox_cantique_trouve);
    m_entries.clear();
    const HymnList hits = searchHymns(cantiques, books, Cantique_achercher->text());
    if (!hits.labels.isEmpty()) {
        refill(ComboBox_cantique_trouve, hits.labels);
        m_entries = hits.entries;
        m_ready = true;
        selectRow(ComboBox_cantique_trouve, 0);
        return true;
    }
    refill(ComboBox_cantique_trouve, {QStringLiteral("N O T H I N G")});
    {
        const QSignalBlocker block(ComboBox_cantique_trouve);
        ComboBox_cantique_trouve->setCurrentIndex(0);
    }
    Lbl_Nbr_cantique_trouve->clear();
    return false;
}

std::optional<QString> HymnSearch::entryAt(int index) const {
    if (!m_ready || index < 0 || index >= m_entries.size()) return std::nullopt;
    return m_entries.at(index);
}

const QPalette& HymnSearch::palette() const {
    return ComboBox_cantique_trouve->palette();
}

void HymnSearch::showCounter(int index) {
    Lbl_Nbr_cantique_trouve->setText(pickCounter(index, ComboBox_cantique_trouve->count()));
}

void HymnSearch::onHitPicked(int index) {
    emit hitPicked(index);
}

} // namespace lumora::hymns
