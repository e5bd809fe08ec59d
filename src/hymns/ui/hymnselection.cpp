#include "hymns/ui/hymnselection.h"

#include "common/paths.h"
#include "common/text.h"
#include "hymns/hymnentry.h"
#include "hymns/hymnfiles.h"
#include "hymns/hymnstore.h"
#include "hymns/ui/hymnfileicons.h"
#include "hymns/ui/hymnlists.h"
#include "hymns/ui/hymnsearch.h"
#include "hymns/ui/hymnwords.h"
#include "platform/waitcursor.h"

#include <QDir>
#include <QGridLayout>

namespace lumora::hymns {

namespace {

// Cantiques holds hymn content when it has a file, or a folder other than the favourite-list
// folder that the program creates there itself before this test.
bool holdsHymnContent(const QString& cantiques) {
    if (common::folderHasFile(cantiques)) return true;
    const QStringList folders = QDir(cantiques).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString& f : folders)
        if (f.compare(QLatin1String("Favori"), Qt::CaseInsensitive) != 0) return true;
    return false;
}

} // namespace

HymnSelection::HymnSelection(const session::Session& session, QWidget* page, QObject* parent)
    : QObject(parent), m_session(session), m_lists(new HymnLists(page, this)),
      m_icons(new HymnFileIcons(page, this)), m_words(new HymnWords(page, this)),
      m_search(new HymnSearch(page, this)) {
    m_icons->addTo(m_lists->grid(), 1, 5);
    // The parts' boxes lie over the page in the order they always have.
    for (QWidget* box : {m_lists->widget(), m_search->row(), m_words->details()})
        box->raise();
    connect(m_lists, &HymnLists::pickStarted, this, &HymnSelection::pickStarted);
    connect(m_lists, &HymnLists::hymnPicked, this, &HymnSelection::hymnPicked);
    connect(m_lists, &HymnLists::detailsCleared, m_words, &HymnWords::clearDetails);
    connect(m_lists, &HymnLists::hymnChosen, this, &HymnSelection::displayHymn);
    connect(m_lists, &HymnLists::hymnListEmptied, this, &HymnSelection::clearHymnDisplay);
    connect(m_search, &HymnSearch::searchWanted, this, &HymnSelection::searchHymns);
    connect(m_search, &HymnSearch::hitPicked, this, &HymnSelection::onResultPicked);
    // The clone window checks that it shows this hymn on the Canticle tab.
    connect(m_words, &HymnWords::selectionChanged, this, &HymnSelection::hymnSelectionChanged);
    connect(m_icons, &HymnFileIcons::musicClicked, this, &HymnSelection::musicIconClicked);
    connect(m_icons, &HymnFileIcons::slidesClicked, this, &HymnSelection::slidesIconClicked);
    connect(m_icons, &HymnFileIcons::videoClicked, this, &HymnSelection::videoIconClicked);
}

// the parts, as the page and the other areas reach them

QWidget* HymnSelection::notFoundLabel() const {
    return m_words->notFoundLabel();
}
QWidget* HymnSelection::bookLists() const {
    return m_lists->widget();
}
QWidget* HymnSelection::searchRow() const {
    return m_search->row();
}
QWidget* HymnSelection::wordsBox() const {
    return m_words->wordsBox();
}
QWidget* HymnSelection::details() const {
    return m_words->details();
}
QWidget* HymnSelection::titleRow() const {
    return m_words->titleRow();
}
platform::BackdropBox& HymnSelection::backdrop() {
    return m_words->backdrop();
}
platform::RichTextBox& HymnSelection::words() {
    return m_words->words();
}
void HymnSelection::addTitleTool(QWidget* tool) {
    m_words->addTitleTool(tool);
}
QString HymnSelection::shownLabel() const {
    return m_words->shownLabel();
}
QColor HymnSelection::shownLabelColor() const {
    return m_words->shownLabelColor();
}
void HymnSelection::setFileIconsShown(bool shown) {
    m_icons->setShown(shown);
}
void HymnSelection::setCaptureRowShown(bool shown) {
    m_words->setCaptureRowShown(shown);
}
void HymnSelection::installShortcuts(QWidget* page) {
    m_search->installShortcuts(page);
}
void HymnSelection::setSearchHalves(int textWidth, int resultsWidth) {
    m_search->setSearchHalves(textWidth, resultsWidth);
}
void HymnSelection::selectNextHymn() {
    m_lists->selectNextHymn();
}
void HymnSelection::clearHoverBorders() {
    m_lists->clearHoverBorders();
}
void HymnSelection::clearHoverBordersOnMovesOver(QWidget* area) {
    m_lists->clearHoverBordersOnMovesOver(area);
}
void HymnSelection::select(QComboBox* list, int i) {
    selectRow(list, i);
}
void HymnSelection::setValue(QComboBox* list, const QString& text) {
    setListValue(list, text);
}

QString HymnSelection::cantiques() const {
    return m_lists->cantiques();
}
const QStringList& HymnSelection::ComboBox_Info_chant() const {
    return m_lists->entries();
}
const QStringList& HymnSelection::ComboBox_Info_trouve() const {
    return m_search->entries();
}
QString HymnSelection::SlidePath() const {
    return m_icons->slidePath();
}
QString HymnSelection::VideoPath() const {
    return m_icons->videoPath();
}
bool HymnSelection::HymnBooksLoaded() const {
    return m_lists->booksLoaded();
}
bool HymnSelection::ThemesLoaded() const {
    return m_lists->themesLoaded();
}
bool HymnSelection::SubThemesLoaded() const {
    return m_lists->subThemesLoaded();
}
bool HymnSelection::HymnListLoaded() const {
    return m_lists->hymnListLoaded();
}
bool HymnSelection::HymnSearchReady() const {
    return m_search->isReady();
}
QString HymnSelection::CurrentBook() const {
    return m_lists->currentBook();
}
std::optional<QString> HymnSelection::entryOnDisplay() const {
    return m_shownEntry;
}

// loading and showing

void HymnSelection::startUp() {
    m_lists->setCantiques(cantiquesFolder(m_session.DataPath));
    const bool found = holdsHymnContent(m_lists->cantiques());
    if (found) LoadHymnBooks();
    m_words->showFolderFound(found);
}

void HymnSelection::showImported(const QString&, const QString& entry) {
    startUp();
    if (m_lists->booksLoaded() && !entry.isEmpty()) ShowPlaylistHymn(entry);
}

void HymnSelection::LoadHymnBooks() {
    m_lists->loadBooks(cantiquesFolder(m_session.DataPath));
}

void HymnSelection::displayHymn(const QString& entry, const QString& label, const QString& book,
                                const QPalette& palette) {
    m_icons->lookUp(m_lists->cantiques(), book, label);
    m_words->setDetailsPalette(palette);
    m_currentEntry = entry;
    m_shownEntry = entry;
    m_wordsReplaced = false;
    m_words->showDetails(m_currentEntry);
    const HymnFiles files = LoadHymnFiles(m_lists->cantiques(), m_currentEntry);
    emit hymnFilesLoaded(files.hasMusic ? files.musicPath : QString());
    m_icons->setMusic(files.hasMusic);
    m_words->showWords(files, label);
    emit hymnShown(m_currentEntry);
    tellDisplayed(book);
}

void HymnSelection::tellDisplayed(const QString& book) {
    m_shownBook = book;
    emit hymnDisplayed(displayed());
}

session::ShownHymn HymnSelection::displayed() const {
    if (!m_shownEntry && !m_wordsReplaced) return {};
    return m_words->shown(m_shownBook, m_shownEntry.value_or(QString()));
}

void HymnSelection::clearHymnDisplay() {
    m_shownEntry.reset();
    m_currentEntry.clear();
    m_icons->clear();
    m_words->clear();
    // No music either: the player lets the previous hymn's recording go.
    emit hymnFilesLoaded(QString());
    emit hymnShown(QString());
    tellDisplayed(QString());
}

// search hits and playlist entries

void HymnSelection::searchHymns() {
    const platform::WaitCursor wait;
    m_lists->setCantiques(cantiquesFolder(m_session.DataPath));
    if (m_search->run(m_lists->cantiques(), m_lists->books())) emit searchSucceeded();
}

void HymnSelection::onResultPicked(int index) {
    const auto entry = m_search->entryAt(index);
    if (!entry) return;
    m_words->setDetailsPalette(m_search->palette());
    m_currentEntry = *entry;
    if (!showEntry(m_currentEntry, m_search->palette())) return;
    m_words->setDetailsPalette(m_search->palette());
    m_search->showCounter(index);
}

QStringList HymnSelection::bookNames() const {
    return m_lists->books();
}

void HymnSelection::ShowPlaylistHymn(const QString& entry) {
    const platform::WaitCursor wait;
    m_currentEntry = entry;
    showEntry(entry, m_lists->hymnListPalette());
}

bool HymnSelection::showEntry(QString entry, const QPalette& palette) {
    const QByteArray bytes = common::Utf8Encode(entry);
    const auto tabs = tabPositions(bytes);
    const QString book = common::Utf8Decode(fromField(bytes, tabs, 9));
    if (!m_lists->hasBook(book)) {
        m_words->showUnknown();
        m_wordsReplaced = true;
        tellDisplayed(book);
        return false;
    }
    const QString label = common::Utf8Decode(bytes.left(tabs[1]));
    m_lists->setValues(book, common::Utf8Decode(fieldAt(bytes, tabs, 6)),
                       common::Utf8Decode(fieldAt(bytes, tabs, 7)), label);

    // Values equal to the current ones run no pick, and a hymn without a sub-theme is in no hymn
    // list: either way the words on display may still be another hymn's. This hymn is shown.
    if (const auto row = m_lists->selectedHymnRow(label)) {
        if (m_wordsReplaced || m_shownEntry != m_lists->entries().at(*row)) m_lists->onHymnPicked(*row);
        return true;
    }
    emit hymnPicked();
    // The lists cannot name this hymn: none of their rows claims to be on display.
    m_lists->unselectHymn();
    displayHymn(entry, label, book, palette);
    return true;
}

} // namespace lumora::hymns
