#include "bible/ui/biblesearch.h"

#include "bible/search/versionsearch.h"
#include "bible/ui/biblenavigation.h"
#include "common/text.h"
#include "platform/findkey.h"
#include "platform/waitcursor.h"

#include <QAbstractListModel>
#include <QApplication>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QSignalBlocker>

namespace lumora::bible {

namespace {

// Upper case one UTF-16 unit at a time, so positions in the result are positions in the input
// ("ß" stays one character instead of becoming "SS").
QString upperKeepingLength(const QString& s) {
    QString out = s;
    for (QChar& c : out)
        c = c.toUpper();
    return out;
}

} // namespace

// The rows of ComboBox_passage_trouve as one list replaced whole: a common word has tens of
// thousands of hits, and an item model with an object per row takes half a second to fill.
class BibleSearch::HitList final : public QAbstractListModel {
  public:
    using QAbstractListModel::QAbstractListModel;

    void replace(QStringList rows) {
        beginResetModel();
        m_rows = std::move(rows);
        endResetModel();
    }
    int rowCount(const QModelIndex& parent = {}) const override {
        return parent.isValid() ? 0 : static_cast<int>(m_rows.size());
    }
    QVariant data(const QModelIndex& index, int role) const override {
        if (!index.isValid() || index.row() >= m_rows.size()) return {};
        if (role == Qt::DisplayRole || role == Qt::EditRole) return m_rows.at(index.row());
        return {};
    }

  private:
    QStringList m_rows;
};

BibleSearch::BibleSearch(const session::Session& session, BibleNavigation& nav,
                         platform::RichTextBox& passage, platform::Prompts& prompts, QWidget* page,
                         QObject* parent)
    : QObject(parent), m_session(session), m_nav(nav), m_passage(passage), m_prompts(prompts) {
    m_row = new QWidget(page);
    QWidget* row = m_row;
    Text_achercher = new QLineEdit(row);
    Text_achercher->setObjectName(QStringLiteral("Text_achercher"));
    Cmd_cherche_passage = new QPushButton(QStringLiteral("Search"), row);
    Cmd_cherche_passage->setObjectName(QStringLiteral("Cmd_cherche_passage"));
    ComboBox_passage_trouve = new QComboBox(row);
    ComboBox_passage_trouve->setObjectName(QStringLiteral("ComboBox_passage_trouve"));
    ComboBox_passage_trouve->setEditable(true);
    ComboBox_passage_trouve->setInsertPolicy(QComboBox::NoInsert);
    ComboBox_passage_trouve->setMinimumContentsLength(14);
    // Its width comes from the layout, never from the hits, and every row is one line of the same
    // height, so neither a search nor opening the list measures every hit.
    ComboBox_passage_trouve->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    m_hits = new HitList(ComboBox_passage_trouve);
    ComboBox_passage_trouve->setModel(m_hits);
    auto* view = new QListView(ComboBox_passage_trouve);
    view->setUniformItemSizes(true);
    view->setLayoutMode(QListView::Batched);
    view->setAccessibleName(QStringLiteral("Passages found"));
    ComboBox_passage_trouve->setView(view);
    Lbl_Nbr_passage_trouve = new QLabel(row);
    Lbl_Nbr_passage_trouve->setObjectName(QStringLiteral("Lbl_Nbr_passage_trouve"));
    // Room for the widest count ("31102 / 31102") from the start, so the row never reflows.
    Lbl_Nbr_passage_trouve->setMinimumWidth(
        Lbl_Nbr_passage_trouve->fontMetrics().horizontalAdvance(QStringLiteral("00000 / 00000")));
    Lbl_Nbr_passage_trouve->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);

    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(Text_achercher, 2);
    layout->addWidget(Cmd_cherche_passage);
    layout->addWidget(ComboBox_passage_trouve, 1);
    layout->addWidget(Lbl_Nbr_passage_trouve);

    connect(Cmd_cherche_passage, &QPushButton::clicked, this, &BibleSearch::onSearchClicked);
    connect(Text_achercher, &QLineEdit::returnPressed, this, &BibleSearch::onSearchClicked);
    connect(ComboBox_passage_trouve, &QComboBox::activated, this, &BibleSearch::onHitPicked);
    connect(ComboBox_passage_trouve->lineEdit(), &QLineEdit::textEdited, this, &BibleSearch::onTextTyped);
}

void BibleSearch::installShortcuts(QWidget* page) {
    platform::installFindKey(
        page, Text_achercher, Cmd_cherche_passage,
        QStringLiteral("Search the version for the words (Enter; %1 goes to the words)"));
}

void BibleSearch::setSearchHalves(int textWidth, int resultsWidth) {
    Text_achercher->setFixedWidth(std::max(textWidth, 0));
    ComboBox_passage_trouve->setMaximumWidth(std::max(resultsWidth, 0));
}

void BibleSearch::onSearchClicked() {
    m_ready = false;
    const QByteArray needle = common::Utf8Encode(Text_achercher->text());
    Lbl_Nbr_passage_trouve->clear();

    if (isBlankSearch(needle)) {
        // Nothing is searched; the hidden table keeps its rows and picks stay ignored.
        const QSignalBlocker block(ComboBox_passage_trouve);
        m_hits->replace({kNoHitEntry});
        ComboBox_passage_trouve->setCurrentIndex(0);
        return;
    }

    const platform::WaitCursor hourglass;
    const int version = m_nav.selectedRow(session::NavLevel::Version);
    VersionSearch found;
    if (const auto code = common::VersionCode(m_nav.rowText(session::NavLevel::Version, version));
        code && version >= 0) {
        found = SearchVersion(m_session.DataPath, common::Utf8Encode(*code), m_nav.tables().namesByNumber(),
                              needle, &m_files);
    }
    for (const QString& path : found.unreadable)
        m_prompts.tell(path);

    found.display.append(kNoHitEntry);
    {
        const QSignalBlocker block(ComboBox_passage_trouve);
        m_hits->replace(std::move(found.display));
        ComboBox_passage_trouve->setCurrentIndex(0);
    }
    m_found = std::move(found.hits);

    m_ready = true;
    onHitPicked(0);
}

void BibleSearch::onTextTyped() {
    if (!m_ready) return;
    // Only picked entries name a hit; typed text is refused and cleared.
    m_prompts.tell(QStringLiteral("Choose a passage from the list."), platform::kAppTitle,
                   platform::PromptIcon::Exclamation);
    ComboBox_passage_trouve->setEditText(QString());
}

void BibleSearch::onHitPicked(int index) {
    if (!m_ready) return;
    // The last entry "????" names no hit, and neither does a verse line without numbers: nothing
    // changes.
    if (index < 0 || index >= m_found.size() || !m_found.at(index).leadsToVerse()) return;
    m_hit = m_found.at(index).ref;
    m_nav.openPassage(*m_hit);

    HighlightSearchWord();
    Lbl_Nbr_passage_trouve->setText(QString::number(index + 1) + QStringLiteral(" / ") +
                                    QString::number(ComboBox_passage_trouve->count() - 1));
}

void BibleSearch::HighlightSearchWord() {
    const QString word = Text_achercher->text();
    if (word.isEmpty()) return;
    const QString text = upperKeepingLength(m_passage.plainText());
    const QString needle = upperKeepingLength(word);

    // The version header above the verses ("KJV - King James Version", the heading, a blank
    // line) is not the hit: the search starts after it...
    qsizetype afterHeader = 0;
    const QString version = upperKeepingLength(
        m_nav.rowText(session::NavLevel::Version, m_nav.selectedRow(session::NavLevel::Version)));
    if (!version.isEmpty() && text.startsWith(version + QLatin1Char('\n'))) {
        const qsizetype blank = text.indexOf(QStringLiteral("\n\n"), version.size());
        if (blank >= 0) afterHeader = blank + 2;
    }
    // ...and at the hit verse's own line ("3.8   ..."), so that its titles or the verses before
    // it are used only when the line itself does not hold the text.
    qsizetype from = afterHeader;
    if (m_hit) {
        const QString label = QString::number(m_hit->chapter) + QLatin1Char('.') +
                              QString::number(m_hit->firstVerse) + QStringLiteral("   ");
        const qsizetype line =
            text.startsWith(label) ? 0 : text.indexOf(QLatin1Char('\n') + label, afterHeader);
        if (line >= 0) from = line == 0 ? 0 : line + 1;
    }
    qsizetype at = text.indexOf(needle, from);
    if (at < 0 && from > afterHeader) at = text.indexOf(needle, afterHeader);
    if (at < 0) return;
    m_passage.select(static_cast<int>(at), static_cast<int>(word.size()));
    m_passage.setSelectionBold(true);
    m_passage.setSelectionColor(QColor(0, 0, 255));
}

} // namespace lumora::bible
