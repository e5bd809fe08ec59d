#include "bible/ui/biblenavigation.h"

#include "common/paths.h"
#include "common/text.h"

#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QSignalBlocker>
#include <QStyle>
#include <QToolButton>
#include <QTreeWidget>

namespace lumora::bible {

using namespace lumora::common;

namespace {
constexpr int kTwipsPerPixel = 15;
}

BibleNavigation::BibleNavigation(app::AppState& state, platform::Platform& platform, platform::MediaPlayer* player1,
                                 QWidget* page, QObject* parent)
    : QObject(parent), m_state(state), m_platform(platform), m_player1(player1) {
    auto named = [](QWidget* w, const char* name) {
        w->setObjectName(QString::fromLatin1(name));
        return w;
    };
    List_version = static_cast<QComboBox*>(named(new QComboBox(page), "List_version"));
    List_livre = static_cast<QListWidget*>(named(new QListWidget(page), "List_livre"));
    List_chapitre = static_cast<QListWidget*>(named(new QListWidget(page), "List_chapitre"));
    List_verset = static_cast<QListWidget*>(named(new QListWidget(page), "List_verset"));
    List_verset_limite = static_cast<QListWidget*>(named(new QListWidget(page), "List_verset_limite"));
    Lbl_classe = static_cast<QLabel*>(named(new QLabel(page), "Lbl_classe"));
    Image_Lecture = static_cast<QToolButton*>(named(new QToolButton(page), "Image_Lecture"));
    Image_Lecture->setIcon(page->style()->standardIcon(QStyle::SP_MediaVolume));
    Image_Lecture->setToolTip(tr("The chapter has a recording"));
    Image_Lecture->setEnabled(false);
    ImagePlayPause = static_cast<QToolButton*>(named(new QToolButton(page), "ImagePlayPause"));
    ImagePlayPause->setIcon(page->style()->standardIcon(QStyle::SP_MediaPlay));
    ImageStop = static_cast<QToolButton*>(named(new QToolButton(page), "ImageStop"));
    ImageStop->setIcon(page->style()->standardIcon(QStyle::SP_MediaStop));
    Label4 = static_cast<QLabel*>(named(new QLabel(page), "Label4"));
    Lbl_Position = static_cast<QLabel*>(named(new QLabel(QStringLiteral("0,0000"), page), "Lbl_Position"));

    ListView1 = static_cast<QTreeWidget*>(named(new QTreeWidget(page), "ListView1"));
    ListView1->setRootIsDecorated(false);
    ListView1->setColumnCount(3);
    ListView1->setHeaderLabels({QStringLiteral("Marking"), QStringLiteral("New"), QStringLiteral("Old")});
    for (int c = 0; c < 3; ++c) ListView1->header()->resizeSection(c, 1020 / kTwipsPerPixel);
    QList<QTreeWidgetItem*> rows;
    rows.reserve(kMarkRows);
    for (int i = 1; i <= kMarkRows; ++i) {
        auto* row = new QTreeWidgetItem(QStringList{QString(), QString(), QString()});
        row->setData(0, Qt::UserRole, QStringLiteral("Cle_") + QString::number(i));
        rows.append(row);
    }
    ListView1->addTopLevelItems(rows);

    for (QListWidget* l : {List_livre, List_chapitre, List_verset, List_verset_limite})
        l->setSelectionMode(QAbstractItemView::SingleSelection);
    connect(List_version, &QComboBox::currentIndexChanged, this, &BibleNavigation::onVersionSelected);
    connect(List_livre, &QListWidget::currentRowChanged, this, &BibleNavigation::onBookSelected);
    connect(List_chapitre, &QListWidget::currentRowChanged, this, &BibleNavigation::onChapterSelected);
    connect(List_verset, &QListWidget::currentRowChanged, this, &BibleNavigation::onVerseSelected);
    connect(List_verset_limite, &QListWidget::currentRowChanged, this, &BibleNavigation::onEndVerseSelected);
}

void BibleNavigation::select(QListWidget* list, int i) {
    if (i < 0 || i >= list->count()) return;  // selecting a missing entry fails and is skipped
    list->setCurrentRow(i);
}

void BibleNavigation::select(QComboBox* combo, int i) {
    if (i < 0 || i >= combo->count()) return;
    combo->setCurrentIndex(i);
}

QStringList BibleNavigation::versionsComplete() const {
    QStringList out;
    for (int i = 0; i < List_version->count(); ++i) out << List_version->itemText(i);
    return out;
}

void BibleNavigation::LoadBibleVersions() {
    m_versions = bible::LoadBibleVersions(m_state.DataPath);
    {
        const QSignalBlocker block(List_version);
        List_version->clear();
        List_version->addItems(m_versions.List_version);
        List_version->setCurrentIndex(-1);
    }
    if (m_versions.openError) {
        m_platform.prompts.tell(QString::number(*m_versions.openError));
        return;
    }
    emit versionsLoaded();
    select(List_version, 0);
}

void BibleNavigation::refillVersions(const QStringList& entries, const QString& selectText) {
    {
        const QSignalBlocker block(List_version);
        List_version->clear();
        List_version->addItems(entries);
        List_version->setCurrentIndex(-1);
    }
    select(List_version, List_version->findText(selectText, Qt::MatchExactly));
}

void BibleNavigation::onVersionSelected(int index) {
    if (index < 0) return;
    if (m_player1) m_player1->close();
    m_state.PendingJump = true;
    // The book tables of the version, then the book list restores TargetBook.
    m_state.BooksLoaded = false;
    List_livre->clear();
    const QByteArray code = VersionCode(Utf8Encode(List_version->itemText(index))).value_or(QByteArray());
    m_tables = LoadBookTables(m_state.DataPath, code);
    List_livre->addItems(m_tables.List_livre);
    m_state.BooksLoaded = true;
    select(List_livre, m_state.TargetBook);
    if (runCmdOk) runCmdOk();
    m_state.PendingJump = false;
}

void BibleNavigation::onBookSelected(int index) {
    if (!m_state.BooksLoaded || index < 0) return;
    m_state.TargetBook = index;
    m_state.ChaptersReady = false;
    List_chapitre->clear();
    const int n = m_tables.chapterCount(index);
    QStringList chapters;
    chapters.reserve(n);
    for (int c = 1; c <= n; ++c) chapters << QString::number(c);
    List_chapitre->addItems(chapters);
    m_state.ChaptersReady = true;
    if (m_state.PendingJump) {
        select(List_chapitre, std::min(m_state.TargetChapter, List_chapitre->count() - 1));
        m_state.TargetChapter = List_chapitre->currentRow();
    } else {
        select(List_chapitre, 0);
    }
    Lbl_classe->setText(m_tables.List_classe.value(index));
}

QString BibleNavigation::chapterAudioPath() const {
    const int book = List_livre->currentRow();
    const int chapter = List_chapitre->currentRow() + 1;
    if (book < 0 || chapter < 1 || List_version->currentIndex() < 0) return {};
    // The version code: the entry up to two characters before its first "-".
    const QString entry = List_version->currentText();
    const qsizetype dash = entry.indexOf(QLatin1Char('-'));
    if (dash < 1) return {};
    const QString code = entry.left(dash - 1);
    const QString number = chapter < 10 ? QStringLiteral("0") + QString::number(chapter) : QString::number(chapter);
    const QString name = QString::fromUtf8(m_tables.List_PrefixeSon.value(book)) + number;
    for (const char* ext : {".mp3", ".wav"}) {
        const QString path = findPath(m_state.DataPath, {QStringLiteral("Bible"), code, QStringLiteral("Sound"),
                                                         name + QString::fromLatin1(ext)});
        if (fileExists(path)) return path;
    }
    return {};
}

void BibleNavigation::refreshMarkRows(const QByteArray& prefix, int chapter) {
    const int verses = List_verset->count();
    const QString base = QString::fromUtf8(prefix) + QString::number(chapter) + QLatin1Char('.');
    for (int i = 1; i <= kMarkRows; ++i) {
        QTreeWidgetItem* row = ListView1->topLevelItem(i - 1);
        row->setText(0, i <= verses ? base + QString::number(i) : QString());
        row->setText(1, QString());
        row->setText(2, QString());
    }
}

void BibleNavigation::onChapterSelected(int index) {
    if (!m_state.ChaptersReady || index < 0) return;
    m_state.TargetChapter = index;
    const int book = List_livre->currentRow();
    const QByteArray B = m_tables.List_NumLivre.value(book);
    const int c = static_cast<qint16>(List_chapitre->item(index)->text().toInt());
    const int row = m_tables.chapterRow(B, c);
    // Without a row for this chapter the verse lists are emptied rather than left with the
    // previous chapter's verses.
    List_verset->clear();
    List_verset_limite->clear();
    if (row >= 0) {
        bool ok = false;
        const int v = m_tables.List_NbrVerset.at(row).trimmed().toInt(&ok);
        QStringList verses;
        if (ok && v > 0 && v <= 32767) {
            verses.reserve(v);
            for (int i = 1; i <= v; ++i) verses << QString::number(i);
        }
        List_verset->addItems(verses);
        List_verset_limite->addItems(verses);
    }
    Image_Lecture->setEnabled(!chapterAudioPath().isEmpty());
    if (!m_state.PendingJump) {
        refreshMarkRows(m_tables.List_PrefixeSon.value(book), c);
        select(List_verset, 0);
        if (refreshMarks) refreshMarks();
    } else {
        select(List_verset, std::min(m_state.TargetVerse, List_verset->count() - 1));
    }
}

void BibleNavigation::onVerseSelected(int index) {
    if (index < 0) return;
    m_state.TargetVerse = index;
    List_verset_limite->clear();
    QStringList rest;
    for (int i = index; i < List_verset->count(); ++i) rest << List_verset->item(i)->text();
    List_verset_limite->addItems(rest);
    const int last = List_verset_limite->count() - 1;
    if (m_state.ListViewPick) select(List_verset_limite, 0);
    else if (m_state.TargetSpan > last || !m_state.PendingJump) select(List_verset_limite, last);
    else select(List_verset_limite, m_state.TargetSpan);
    if (QTreeWidgetItem* row = ListView1->topLevelItem(index)) {
        ListView1->setCurrentItem(row);
        Label4->setText(row->text(0));
        Lbl_Position->setText(row->text(1));
    }
}

void BibleNavigation::onEndVerseSelected(int index) {
    if (index < 0) return;
    ImagePlayPause->setIcon(ImagePlayPause->style()->standardIcon(QStyle::SP_MediaPlay));
    ImagePlayPause->setEnabled(false);
    ImageStop->setEnabled(false);
    m_state.TargetSpan = static_cast<qint16>(index);
    if (m_player1) m_player1->close();
    if (buildPassage) buildPassage();
    if (refreshMarks) refreshMarks();
    ImagePlayPause->setEnabled(true);
    ImageStop->setEnabled(true);
    // The chapter recording starts at the passage's first mark, once a recording is loaded into
    // the player (closing it above leaves it without one until the chapter audio is loaded).
    const QByteArrayList marks = passageMarks ? passageMarks() : QByteArrayList();
    if (!m_state.BibleAudioMuted && !marks.isEmpty() && m_player1 && !m_player1->source().isEmpty()) {
        const QByteArray entry = marks.first();
        const QByteArray p = entry.mid(entry.indexOf('\t') + 1);
        bool ok = false;
        const double seconds = QString::fromLatin1(p).replace(QLatin1Char(','), QLatin1Char('.')).toDouble(&ok);
        if (ok) m_player1->setPosition(seconds);
        m_player1->play();
        Lbl_Position->setText(QString::fromLatin1(p));
        ImagePlayPause->setIcon(ImagePlayPause->style()->standardIcon(QStyle::SP_MediaPause));
        if (QTreeWidgetItem* row = ListView1->topLevelItem(List_verset->currentRow())) {
            ListView1->setCurrentItem(row);
            Label4->setText(row->text(0));
        }
        m_state.BibleReload = true;
    }
}

void BibleNavigation::jumpToTarget() {
    if (m_state.TargetVersion != List_version->currentIndex()) {
        select(List_version, m_state.TargetVersion);
    } else if (m_state.TargetBook != List_livre->currentRow()) {
        m_state.PendingJump = true;
        select(List_livre, m_state.TargetBook);
        m_state.PendingJump = false;
    } else if (m_state.TargetChapter != List_chapitre->currentRow()) {
        m_state.PendingJump = true;
        select(List_chapitre, m_state.TargetChapter);
        m_state.PendingJump = false;
    } else if (m_state.TargetVerse != List_verset->currentRow()) {
        m_state.PendingJump = true;
        select(List_verset, m_state.TargetVerse);
        m_state.PendingJump = false;
    } else {
        // The verse is already shown: the span alone changes (a pick of the current row runs
        // the handler again so the passage is rebuilt and highlighted afresh).
        if (List_verset_limite->currentRow() == m_state.TargetSpan) onEndVerseSelected(m_state.TargetSpan);
        else select(List_verset_limite, m_state.TargetSpan);
    }
}

void BibleNavigation::refreshKeepingSelection() {
    const int book = List_livre->currentRow();
    const int chapter = List_chapitre->currentRow();
    const int verse = List_verset->currentRow();
    const int end = List_verset_limite->currentRow();
    onBookSelected(book);
    select(List_chapitre, chapter);
    select(List_verset, verse);
    select(List_verset_limite, end);
}

} // namespace lumora::bible
