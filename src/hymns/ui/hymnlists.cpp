#include "hymns/ui/hymnlists.h"

#include "hymns/hymnstore.h"
#include "hymns/ui/picklist.h"

#include <QEvent>
#include <QGridLayout>
#include <QLabel>

namespace lumora::hymns {

namespace {
const QString kHoverBorder = QStringLiteral("QComboBox { border: 1px solid palette(dark); }");
} // namespace

HymnLists::HymnLists(QWidget* page, QObject* parent) : QObject(parent), m_page(page) {
    auto named = [](auto* w, const char* name) {
        w->setObjectName(QString::fromLatin1(name));
        return w;
    };
    Label5 = named(new QLabel(QStringLiteral("Hymn book"), page), "Label5");
    ComboBox_Receuil = named(new PickList(page), "ComboBox_Receuil");
    Label6 = named(new QLabel(QStringLiteral("Themecle "), page), "Label6");
    ComboBox_theme1 = named(new PickList(page), "ComboBox_theme1");
    ComboBox_theme2 = named(new PickList(page), "ComboBox_theme2");
    Label8 = named(new QLabel(QStringLiteral("Canticle"), page), "Label8");
    ComboBox_Chant = named(new PickList(page), "ComboBox_Chant");
    Lbl_Nbr_cantique = named(new QLabel(page), "Lbl_Nbr_cantique");
    for (PickList* list : {ComboBox_Receuil, ComboBox_theme1, ComboBox_theme2, ComboBox_Chant}) {
        // Book and hymn names are long; the lists share the row's width.
        list->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
        list->setMinimumContentsLength(list == ComboBox_Chant || list == ComboBox_Receuil ? 24 : 16);
        QSizePolicy policy(QSizePolicy::Expanding, QSizePolicy::Fixed);
        // The hymn list hides for a theme without hymns; the lists beside it keep their widths.
        policy.setRetainSizeWhenHidden(true);
        list->setSizePolicy(policy);
    }
    // The counters have room for their widest text from the start: the rows never reflow.
    Lbl_Nbr_cantique->setMinimumWidth(
        Lbl_Nbr_cantique->fontMetrics().horizontalAdvance(QStringLiteral("0000 / 0000")));

    m_widget = new QWidget(page);
    m_grid = new QGridLayout(m_widget);
    m_grid->setContentsMargins(0, 0, 0, 0);
    m_grid->addWidget(Label5, 0, 0);
    m_grid->addWidget(ComboBox_Receuil, 1, 0);
    m_grid->addWidget(Label6, 0, 1);
    m_grid->addWidget(ComboBox_theme1, 1, 1);
    m_grid->addWidget(ComboBox_theme2, 1, 2);
    m_grid->addWidget(Label8, 0, 3);
    m_grid->addWidget(ComboBox_Chant, 1, 3);
    m_grid->addWidget(Lbl_Nbr_cantique, 1, 4);

    ComboBox_Receuil->onPick(this, &HymnLists::onBookPicked);
    ComboBox_theme1->onPick(this, &HymnLists::onThemePicked);
    ComboBox_theme2->onPick(this, &HymnLists::onSubThemePicked);
    ComboBox_Chant->onPick(this, &HymnLists::onHymnPicked);
    for (PickList* list : {ComboBox_Receuil, ComboBox_theme1, ComboBox_theme2})
        list->installEventFilter(this);
    page->setMouseTracking(true);
    page->installEventFilter(this);
}

void HymnLists::clearHoverBordersOnMovesOver(QWidget* area) {
    area->setMouseTracking(true);
    area->installEventFilter(this);
    m_moveAreas.append(area);
}

bool HymnLists::eventFilter(QObject* watched, QEvent* event) {
    const bool area = watched == m_page || m_moveAreas.contains(watched);
    if (event->type() == QEvent::Enter && !area) {
        static_cast<QWidget*>(watched)->setStyleSheet(kHoverBorder);
    } else if (event->type() == QEvent::MouseMove && area) {
        clearHoverBorders();
    }
    return QObject::eventFilter(watched, event);
}

void HymnLists::clearHoverBorders() {
    for (PickList* list : {ComboBox_Receuil, ComboBox_theme1, ComboBox_theme2, ComboBox_Chant})
        if (!list->styleSheet().isEmpty()) list->setStyleSheet(QString());
}

void HymnLists::loadBooks(const QString& cantiques) {
    m_booksLoaded = false;
    setCantiques(cantiques);
    clearList(ComboBox_Receuil);
    refill(ComboBox_Receuil, LoadHymnBooks(m_cantiques));
    m_booksLoaded = true;
    selectRow(ComboBox_Receuil, 0);
}

QStringList HymnLists::books() const {
    QStringList books;
    for (int i = 0; i < ComboBox_Receuil->count(); ++i)
        books << ComboBox_Receuil->itemText(i);
    return books;
}

bool HymnLists::hasBook(const QString& book) const {
    return ComboBox_Receuil->findText(book, Qt::MatchExactly | Qt::MatchCaseSensitive) >= 0;
}

void HymnLists::setValues(const QString& book, const QString& theme, const QString& subTheme,
                          const QString& label) {
    setListValue(ComboBox_Receuil, book);
    setListValue(ComboBox_theme1, theme);
    if (!subTheme.isEmpty()) setListValue(ComboBox_theme2, subTheme);
    setListValue(ComboBox_Chant, label);
}

std::optional<int> HymnLists::selectedHymnRow(const QString& label) const {
    const int row = ComboBox_Chant->currentIndex();
    if (!ComboBox_Chant->isHidden() && row >= 0 && row < m_entries.size() &&
        ComboBox_Chant->currentText() == label)
        return row;
    return std::nullopt;
}

void HymnLists::unselectHymn() {
    {
        const QSignalBlocker block(ComboBox_Chant);
        ComboBox_Chant->setCurrentIndex(-1);
    }
    Lbl_Nbr_cantique->clear();
}

void HymnLists::selectNextHymn() {
    const int next = ComboBox_Chant->currentIndex() + 1;
    selectRow(ComboBox_Chant, next < ComboBox_Chant->count() ? next : 0);
}

const QPalette& HymnLists::hymnListPalette() const {
    return ComboBox_Chant->palette();
}

void HymnLists::onBookPicked(int) {
    emit pickStarted();
    if (!m_booksLoaded) return;
    m_themesLoaded = false;
    clearList(ComboBox_theme1);
    m_currentBook = ComboBox_Receuil->currentText();
    const auto themes = readThemes(m_cantiques, m_currentBook);
    if (!themes) {
        // Nothing of the previous book may stay below an unreadable one.
        m_subThemesLoaded = false;
        m_hymnListLoaded = false;
        clearList(ComboBox_theme2);
        clearList(ComboBox_Chant);
        m_entries.clear();
        emit detailsCleared();
        Lbl_Nbr_cantique->clear();
        return;
    }
    refill(ComboBox_theme1, *themes);
    m_themesLoaded = true;
    ComboBox_theme1->show();
    selectRow(ComboBox_theme1, 0);
}

void HymnLists::onThemePicked(int) {
    emit pickStarted();
    if (!m_themesLoaded) return;
    m_hymnListLoaded = false;
    clearList(ComboBox_Chant);
    m_entries.clear();
    emit detailsCleared();
    Lbl_Nbr_cantique->clear();
    m_subThemesLoaded = false;
    clearList(ComboBox_theme2);

    m_currentBook = ComboBox_Receuil->currentText();
    refill(ComboBox_theme2, subThemes(m_cantiques, m_currentBook, ComboBox_theme1->currentText()));
    m_subThemesLoaded = true;
    if (ComboBox_theme2->count() > 0) {
        selectRow(ComboBox_theme2, 0);
    } else {
        // A theme without sub-themes lists its own hymns (those with no sub-theme), or none; no
        // other hymn may stay on display.
        showHymnList(hymnsWithoutSubTheme(m_cantiques, m_currentBook, ComboBox_theme1->currentText()));
    }
}

void HymnLists::onSubThemePicked(int) {
    emit pickStarted();
    if (!m_subThemesLoaded) return;
    m_hymnListLoaded = false;
    clearList(ComboBox_Chant);
    m_entries.clear();

    m_currentBook = ComboBox_Receuil->currentText();
    showHymnList(
        hymnList(m_cantiques, m_currentBook, ComboBox_theme1->currentText(), ComboBox_theme2->currentText()));
}

void HymnLists::showHymnList(const HymnList& list) {
    m_hymnListLoaded = false;
    clearList(ComboBox_Chant);
    refill(ComboBox_Chant, list.labels);
    m_entries = list.entries;
    m_hymnListLoaded = true;
    if (ComboBox_Chant->count() > 0) {
        selectRow(ComboBox_Chant, 0);
        ComboBox_Chant->show();
        Lbl_Nbr_cantique->setText(pickCounter(0, ComboBox_Chant->count()));
    } else {
        ComboBox_Chant->hide();
        Lbl_Nbr_cantique->clear();
        emit hymnListEmptied();
    }
}

void HymnLists::onHymnPicked(int index) {
    emit hymnPicked();
    if (!m_hymnListLoaded) return;
    if (index < 0 || index >= m_entries.size()) return;
    Lbl_Nbr_cantique->setText(pickCounter(index, ComboBox_Chant->count()));
    emit hymnChosen(m_entries.at(index), ComboBox_Chant->currentText(), ComboBox_Receuil->currentText(),
                    ComboBox_Chant->palette());
}

} // namespace lumora::hymns
