#include "bible/ui/biblenavigation.h"

#include "common/paths.h"
#include "common/text.h"

#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QShortcut>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace lumora::bible {

using namespace lumora::common;
using session::NavLevel;

void selectRow(QListWidget* list, int i) {
    if (i < 0 || i >= list->count()) return; // selecting a missing entry fails and is skipped
    list->setCurrentRow(i);
}

void selectRow(QComboBox* combo, int i) {
    if (i < 0 || i >= combo->count()) return;
    combo->setCurrentIndex(i);
}

namespace {

// The row of the book with `number`; where no book has it, the row the number names in a full
// list (which the jump then skips when it is missing).
int bookRowOf(const BookTables& tables, int number) {
    const Book* book = tables.bookByNumber(number);
    return book ? book->row : number - 1;
}

} // namespace

BibleNavigation::BibleNavigation(const session::Session& session, platform::Prompts& prompts, QWidget* page,
                                 QObject* parent)
    : QObject(parent), m_session(session), m_prompts(prompts) {
    List_version = static_cast<QComboBox*>(make(new QComboBox(page), "List_version"));
    m_lists = new QWidget(page);
    List_livre = static_cast<QListWidget*>(make(new QListWidget(m_lists), "List_livre"));
    List_chapitre = static_cast<QListWidget*>(make(new QListWidget(m_lists), "List_chapitre"));
    List_verset = static_cast<QListWidget*>(make(new QListWidget(m_lists), "List_verset"));
    List_verset_limite = static_cast<QListWidget*>(make(new QListWidget(m_lists), "List_verset_limite"));
    Lbl_classe = static_cast<QLabel*>(make(new QLabel(page), "Lbl_classe"));

    auto* row = new QHBoxLayout(m_lists);
    row->setContentsMargins(0, 0, 0, 0);
    List_livre->setMinimumWidth(150);
    row->addWidget(List_livre, 3);
    for (QListWidget* l : {List_chapitre, List_verset, List_verset_limite}) {
        l->setFixedWidth(52);
        // Numbers of a line each: laid out without measuring every one of up to 176 rows anew.
        l->setUniformItemSizes(true);
        row->addWidget(l);
    }
    for (QListWidget* l : {List_livre, List_chapitre, List_verset, List_verset_limite})
        l->setSelectionMode(QAbstractItemView::SingleSelection);
    List_version->setMinimumWidth(220);

    connect(List_version, &QComboBox::currentIndexChanged, this, &BibleNavigation::onVersionSelected);
    connect(List_livre, &QListWidget::currentRowChanged, this, &BibleNavigation::onBookSelected);
    connect(List_chapitre, &QListWidget::currentRowChanged, this, &BibleNavigation::onChapterSelected);
    connect(List_verset, &QListWidget::currentRowChanged, this, &BibleNavigation::onVerseSelected);
    connect(List_verset_limite, &QListWidget::currentRowChanged, this, &BibleNavigation::onEndVerseSelected);
}

QWidget* BibleNavigation::make(QWidget* w, const char* name) {
    w->setObjectName(QString::fromLatin1(name));
    return w;
}

QWidget* BibleNavigation::versionList() const {
    return List_version;
}
QWidget* BibleNavigation::classLabel() const {
    return Lbl_classe;
}

void BibleNavigation::setVerseListsShown(bool shown) {
    for (QListWidget* l : {List_chapitre, List_verset, List_verset_limite})
        l->setVisible(shown);
}

QListWidget* BibleNavigation::listOf(NavLevel level) const {
    switch (level) {
    case NavLevel::Book:
        return List_livre;
    case NavLevel::Chapter:
        return List_chapitre;
    case NavLevel::Verse:
        return List_verset;
    case NavLevel::Span:
        return List_verset_limite;
    case NavLevel::Version:
        break;
    }
    return nullptr;
}

int BibleNavigation::selectedRow(NavLevel level) const {
    if (level == NavLevel::Version) return List_version->currentIndex();
    return listOf(level)->currentRow();
}

int BibleNavigation::rowCount(NavLevel level) const {
    if (level == NavLevel::Version) return List_version->count();
    return listOf(level)->count();
}

QString BibleNavigation::rowText(NavLevel level, int row) const {
    if (level == NavLevel::Version) return List_version->itemText(row);
    const QListWidgetItem* item = listOf(level)->item(row);
    return item ? item->text() : QString();
}

QStringList BibleNavigation::versionsComplete() const {
    QStringList out;
    for (int i = 0; i < List_version->count(); ++i)
        out << List_version->itemText(i);
    return out;
}

void BibleNavigation::LoadBibleVersions() {
    m_versions = bible::LoadBibleVersions(m_session.DataPath);
    {
        const QSignalBlocker block(List_version);
        List_version->clear();
        List_version->addItems(m_versions.complete);
        List_version->setCurrentIndex(-1);
    }
    emit choiceCleared();
    if (m_versions.openError) {
        m_prompts.tell(QString::number(*m_versions.openError));
        return;
    }
    emit versionsLoaded();
    selectRow(List_version, 0);
}

void BibleNavigation::refillVersions(const QStringList& entries, const QString& selectText) {
    {
        const QSignalBlocker block(List_version);
        List_version->clear();
        List_version->addItems(entries);
        List_version->setCurrentIndex(-1);
    }
    emit choiceCleared();
    selectRow(List_version, List_version->findText(selectText, Qt::MatchExactly));
}

void BibleNavigation::selectDefaultPassage() {
    m_target.TargetVersion = 0;
    m_target.TargetBook = 39;
    selectRow(List_livre, m_target.TargetBook);
    m_target.TargetChapter = 4;
    selectRow(List_chapitre, m_target.TargetChapter);
    m_target.TargetVerse = 17;
    selectRow(List_verset, m_target.TargetVerse);
    m_target.TargetSpan = 2;
    selectRow(List_verset_limite, m_target.TargetSpan);
    m_pendingJump = true;
}

void BibleNavigation::onVersionSelected(int index) {
    if (index < 0) return;
    emit versionSelected();
    m_pendingJump = true;
    // The book tables of the version, then the book list restores TargetBook.
    m_booksLoaded = false;
    List_livre->clear();
    emit choiceCleared();
    // The book shown stays by its number: versions need not list the same books (one of the New
    // Testament alone lists Matthew first), and the same row would be another book there.
    const Book* shown = m_tables.bookAt(m_target.TargetBook);
    const int shownNumber = shown ? shown->number : 0;
    const QByteArray code = VersionCode(Utf8Encode(List_version->itemText(index))).value_or(QByteArray());
    m_tables = LoadBookTables(m_session.DataPath, code);
    if (m_bookNumberWanted > 0) {
        m_target.TargetBook = bookRowOf(m_tables, m_bookNumberWanted);
        m_bookNumberWanted = 0;
    } else if (const Book* same = m_tables.bookByNumber(shownNumber)) {
        m_target.TargetBook = same->row;
    }
    List_livre->addItems(m_tables.names());
    m_booksLoaded = true;
    selectRow(List_livre, m_target.TargetBook);
    emit versionLoaded();
    m_pendingJump = false;
}

void BibleNavigation::onBookSelected(int index) {
    if (!m_booksLoaded || index < 0) return;
    m_target.TargetBook = index;
    m_chaptersReady = false;
    List_chapitre->clear();
    emit choiceCleared();
    const Book* book = m_tables.bookAt(index);
    const int n = book ? book->chapterCount : 0;
    QStringList chapters;
    chapters.reserve(n);
    for (int c = 1; c <= n; ++c)
        chapters << QString::number(c);
    List_chapitre->addItems(chapters);
    m_chaptersReady = true;
    if (m_pendingJump) {
        selectRow(List_chapitre, std::min(m_target.TargetChapter, List_chapitre->count() - 1));
        m_target.TargetChapter = List_chapitre->currentRow();
    } else {
        selectRow(List_chapitre, 0);
    }
    Lbl_classe->setText(book ? book->className : QString());
}

QString BibleNavigation::chapterAudioPath() const {
    const Book* book = m_tables.bookAt(List_livre->currentRow());
    const int chapter = List_chapitre->currentRow() + 1;
    if (!book || chapter < 1 || List_version->currentIndex() < 0) return {};
    // The version code: the entry up to two characters before its first "-".
    const QString entry = List_version->currentText();
    const qsizetype dash = entry.indexOf(QLatin1Char('-'));
    if (dash < 1) return {};
    const QString code = entry.left(dash - 1);
    const QString number =
        chapter < 10 ? QStringLiteral("0") + QString::number(chapter) : QString::number(chapter);
    const QString name = QString::fromUtf8(book->soundPrefix) + number;
    for (const char* ext : {".mp3", ".wav"}) {
        const QString path =
            findPath(m_session.DataPath, {QStringLiteral("Bible"), code, QStringLiteral("Sound"),
                                          name + QString::fromLatin1(ext)});
        if (fileExists(path)) return path;
    }
    return {};
}

void BibleNavigation::onChapterSelected(int index) {
    if (!m_chaptersReady || index < 0) return;
    m_target.TargetChapter = index;
    const Book* book = m_tables.bookAt(List_livre->currentRow());
    const int c = static_cast<qint16>(List_chapitre->item(index)->text().toInt());
    // Without a verse count for this chapter the verse lists are emptied rather than left with
    // the previous chapter's verses.
    List_verset->clear();
    List_verset_limite->clear();
    emit choiceCleared();
    const int v = book ? m_tables.verseCount(*book, c) : 0;
    QStringList verses;
    verses.reserve(v);
    for (int i = 1; i <= v; ++i)
        verses << QString::number(i);
    List_verset->addItems(verses);
    List_verset_limite->addItems(verses);
    emit chapterAudioFound(!chapterAudioPath().isEmpty());
    if (!m_pendingJump) {
        emit chapterChosen(book ? book->soundPrefix : QByteArray(), c, List_verset->count());
        selectRow(List_verset, 0);
    } else {
        selectRow(List_verset, std::min(m_target.TargetVerse, List_verset->count() - 1));
    }
}

void BibleNavigation::onVerseSelected(int index) {
    if (index < 0) return;
    m_target.TargetVerse = index;
    List_verset_limite->clear();
    emit choiceCleared();
    QStringList rest;
    for (int i = index; i < List_verset->count(); ++i)
        rest << List_verset->item(i)->text();
    List_verset_limite->addItems(rest);
    const int last = List_verset_limite->count() - 1;
    if (m_listViewPick)
        selectRow(List_verset_limite, 0);
    else if (m_target.TargetSpan > last || !m_pendingJump)
        selectRow(List_verset_limite, last);
    else
        selectRow(List_verset_limite, m_target.TargetSpan);
    emit verseSelected(index);
}

void BibleNavigation::onEndVerseSelected(int index) {
    if (index < 0) return;
    m_target.TargetSpan = static_cast<qint16>(index);
    emit spanSelected();
    const Book* book = m_tables.bookAt(List_livre->currentRow());
    const QListWidgetItem* chapter = List_chapitre->currentItem();
    const QByteArray code = VersionCode(Utf8Encode(List_version->currentText())).value_or(QByteArray());
    emit chapterShown(code, book ? book->tableKey : QByteArray(), book ? book->soundPrefix : QByteArray(),
                      chapter ? chapter->text().toInt() : 0, List_verset->count());
    if (List_version->currentIndex() >= 0 && List_livre->currentItem() && chapter &&
        List_verset->currentItem()) {
        auto number = [](QListWidget* l) { return l->currentItem()->text().toInt(); };
        emit passageChosen({code, book ? book->number : 0, number(List_chapitre), number(List_verset),
                            number(List_verset_limite)},
                           List_livre->currentItem()->text());
    }
    emit passageSelected(selection());
    emit spanShown(List_verset->currentRow());
}

bool BibleNavigation::openPassage(const session::PassageRef& ref) {
    QStringList versions;
    for (int i = 0; i < List_version->count(); ++i)
        versions << List_version->itemText(i);
    const int shownVersion = List_version->currentIndex();
    const int version = versionRow(versions, ref.version, shownVersion).value_or(m_target.TargetVersion);
    const bool otherVersion = version != shownVersion;
    const session::JumpRequest request{version, bookRowOf(m_tables, ref.book), ref.chapter - 1,
                                       ref.firstVerse - 1,
                                       static_cast<qint16>(ref.lastVerse - ref.firstVerse)};
    // Only the first list that changes must have the row; the cascade clamps the lists after it.
    const int wanted[] = {request.TargetVersion, request.TargetBook, request.TargetChapter,
                          request.TargetVerse, request.TargetSpan};
    const int shown[] = {shownVersion, List_livre->currentRow(), List_chapitre->currentRow(),
                         List_verset->currentRow()};
    int level = 0;
    while (level < 4 && wanted[level] == shown[level])
        ++level;
    const int count = level == 0 ? List_version->count() : listOf(NavLevel(level))->count();
    if (wanted[level] < 0 || wanted[level] >= count) return false;
    m_bookNumberWanted = otherVersion ? ref.book : 0;
    jumpTo(request);
    m_bookNumberWanted = 0;
    return true;
}

void BibleNavigation::jumpTo(const session::JumpRequest& request) {
    m_target = request;
    m_pendingJump = false;
    auto pending = [this](QListWidget* list, int row) {
        m_pendingJump = true;
        selectRow(list, row);
        m_pendingJump = false;
    };
    if (m_target.TargetVersion != List_version->currentIndex()) {
        selectRow(List_version, m_target.TargetVersion);
    } else if (m_target.TargetBook != List_livre->currentRow()) {
        pending(List_livre, m_target.TargetBook);
    } else if (m_target.TargetChapter != List_chapitre->currentRow()) {
        pending(List_chapitre, m_target.TargetChapter);
    } else if (m_target.TargetVerse != List_verset->currentRow()) {
        pending(List_verset, m_target.TargetVerse);
    } else {
        // The verse is already shown: the span alone changes (a pick of the current row runs
        // the handler again so the passage is rebuilt and highlighted afresh).
        if (List_verset_limite->currentRow() == m_target.TargetSpan)
            onEndVerseSelected(m_target.TargetSpan);
        else
            selectRow(List_verset_limite, m_target.TargetSpan);
    }
}

void BibleNavigation::selectNextPassage() {
    const QListWidgetItem* end = List_verset_limite->currentItem();
    if (!end) return;
    const QString next = QString::number(end->text().toInt() + 1);
    const QList<QListWidgetItem*> found = List_verset->findItems(next, Qt::MatchExactly);
    if (!found.isEmpty()) selectRow(List_verset, List_verset->row(found.first()));
}

void BibleNavigation::selectNextChapter() {
    selectRow(List_chapitre, List_chapitre->currentRow() + 1);
}

void BibleNavigation::selectPreviousChapter() {
    if (List_chapitre->currentRow() > 0) selectRow(List_chapitre, List_chapitre->currentRow() - 1);
}

void BibleNavigation::installShortcuts(QWidget* page) {
    const QKeySequence next(Qt::CTRL | Qt::Key_PageDown), previous(Qt::CTRL | Qt::Key_PageUp);
    for (const auto& [keys, action] : {std::pair{next, &BibleNavigation::selectNextChapter},
                                       std::pair{previous, &BibleNavigation::selectPreviousChapter}}) {
        auto* s = new QShortcut(keys, page);
        s->setContext(Qt::WidgetWithChildrenShortcut);
        connect(s, &QShortcut::activated, this, action);
    }
    List_chapitre->setToolTip(
        QStringLiteral("Chapters (%1: next, %2: previous)")
            .arg(next.toString(QKeySequence::NativeText), previous.toString(QKeySequence::NativeText)));
}

void BibleNavigation::pickSingleVerse(int verseIndex) {
    reselectVerse(verseIndex, true);
}

void BibleNavigation::reselectVerse(int verseIndex, bool single) {
    if (verseIndex < 0 || verseIndex >= List_verset->count()) return;
    m_listViewPick = single;
    if (List_verset->currentRow() == verseIndex)
        onVerseSelected(verseIndex); // refills the end-verse list, whose selection builds the passage
    else
        selectRow(List_verset, verseIndex);
    m_listViewPick = false;
}

PassageSelection BibleNavigation::selection() const {
    PassageSelection s;
    s.versionEntry = List_version->currentText();
    if (const Book* book = m_tables.bookAt(List_livre->currentRow())) s.book = *book;
    auto number = [](QListWidget* l) { return l->currentItem() ? l->currentItem()->text().toInt() : 0; };
    s.chapter = number(List_chapitre);
    s.firstVerse = number(List_verset);
    s.verseCount = List_verset->count();
    s.lastVerse = number(List_verset_limite);
    return s;
}

} // namespace lumora::bible
