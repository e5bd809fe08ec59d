#include "marks/ui/markeditor.h"

#include "marks/ui/marktablemodel.h"

#include "common/atomicfile.h"
#include "common/decimal.h"
#include "common/lines.h"
#include "marks/markformat.h"
#include "marks/marksuggest.h"
#include "marks/verselabel.h"
#include "platform/commondialog.h"
#include "platform/mediaplayer.h"
#include "platform/prompts.h"
#include "platform/richtextbox.h"
#include "platform/spinarrows.h"
#include "platform/waitcursor.h"

#include <QCheckBox>
#include <QContextMenuEvent>
#include <QDir>
#include <QFileInfo>
#include <QFontMetrics>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QTextEdit>
#include <QToolButton>
#include <QTreeView>

namespace lumora::marks {

namespace {
constexpr int kTwipsPerPixel = 15;
const QString kBackupFilter = QStringLiteral("Fichier Texte (*.txt)|*.txt");
const QString kConfirmation = QStringLiteral("C O N F I R M A T I O N  ?");
const QString kUndoTitle = QStringLiteral("Undo last update");

QString verses(int n) {
    return n == 1 ? QStringLiteral("1 verse") : QStringLiteral("%1 verses").arg(n);
}

// The confirmation before a write, with the count of verses on its second line.
QString confirmation(int changes) {
    return kConfirmation + QStringLiteral("\r\n") + verses(changes) + QStringLiteral(" will change.");
}

QString verseList(const std::vector<int>& rows) {
    QStringList out;
    for (int r : rows)
        out << QString::number(r);
    return out.join(QStringLiteral(", "));
}
static_assert(std::tuple_size_v<OldMarks> == std::tuple_size_v<decltype(bible::Passage::VersePositions)>,
              "the passage's verse positions are the table's stored marks");
} // namespace

MarkEditor::MarkEditor(const session::Session& session, platform::RichTextBox& passage,
                       platform::MediaPlayer& player, platform::Prompts& prompts,
                       platform::CommonDialog& dialogs, QWidget* page, QObject* parent)
    : QObject(parent), m_session(session), m_passage(passage), m_player(player), m_prompts(prompts),
      m_dialogs(dialogs) {
    m_model = new MarkTableModel(this);
    ListView1 = new QTreeView(page);
    ListView1->setObjectName(QStringLiteral("ListView1"));
    ListView1->setRootIsDecorated(false);
    ListView1->setUniformRowHeights(true); // one line a row: no row is measured on its own
    ListView1->setModel(m_model);
    for (int c = 0; c < 3; ++c)
        ListView1->header()->resizeSection(c, 1020 / kTwipsPerPixel);
    ListView1->hide();
    m_tableViewport = ListView1->viewport();
    m_tableViewport->installEventFilter(this);
    ListView1->installEventFilter(this);

    m_positionRow = new QWidget(page);
    auto* layout = new QHBoxLayout(m_positionRow);
    layout->setContentsMargins(0, 0, 0, 0);
    Check_mode = new QCheckBox(QStringLiteral("Mark"), m_positionRow);
    Check_mode->setObjectName(QStringLiteral("Check_mode"));
    Check_mode->setToolTip(tr("Ticked, mark mode: the mark table shows, and a right click on a verse takes "
                              "its start from the playing recording"));
    Label11 = new QLabel(tr("Scroll"), m_positionRow);
    Label11->setObjectName(QStringLiteral("Label11"));
    Label11->setToolTip(tr("Lit while \"Top\" can keep the verse being read at the top (a click does "
                           "nothing)"));
    Label1 = new QLabel(tr("Follow"), m_positionRow);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setToolTip(tr("Lit while the highlight follows the verse being read; off in mark mode (a click "
                          "does nothing)"));
    Label4 = new QLabel(m_positionRow);
    Label4->setObjectName(QStringLiteral("Label4"));
    Lbl_Position = new QLabel(QStringLiteral("0,0000"), m_positionRow);
    Lbl_Position->setObjectName(QStringLiteral("Lbl_Position"));
    SpPosition = new platform::SpinArrows(QStringLiteral("SpPosition"), m_positionRow);
    SpPosition->upArrow()->setToolTip(tr("A later position for the verse"));
    SpPosition->downArrow()->setToolTip(tr("An earlier position for the verse"));
    Cmd_Maj = new QPushButton(QStringLiteral(" Update"), m_positionRow);
    Cmd_Maj->setObjectName(QStringLiteral("Cmd_Maj"));
    Cmd_Maj->setToolTip(tr("Store the position as the mark of the selected verse"));
    Cmd_Maj->setEnabled(false);
    for (QWidget* w : std::initializer_list<QWidget*>{Check_mode, Label11, Label1, Label4, Lbl_Position,
                                                      SpPosition, Cmd_Maj})
        layout->addWidget(w);
    for (QWidget* w : std::initializer_list<QWidget*>{Label4, Lbl_Position, SpPosition})
        w->hide(); // shown with the mark widgets

    Mnu_Mark = new QMenu(QStringLiteral("Markage"), page);
    Mnu_Mark->setObjectName(QStringLiteral("Mnu_Mark"));
    auto entry = [this](const char* name, const QString& caption, void (MarkEditor::*slot)()) {
        QAction* a = Mnu_Mark->addAction(caption);
        a->setObjectName(QString::fromLatin1(name));
        connect(a, &QAction::triggered, this, slot);
        m_menuEntries << a;
    };
    entry("Mnu_NewMark", QStringLiteral("New"), &MarkEditor::newMarks);
    entry("Mnu_OldMark", QStringLiteral("Old"), &MarkEditor::oldMarks);
    entry("Mnu_UpdateMrk", QStringLiteral("Update"), &MarkEditor::updateMarks);
    entry("Mnu_SuggestMrk", tr("Suggest"), &MarkEditor::suggestMarks);
    Mnu_Mark->addSeparator();
    entry("Mnu_BackupMrk", QStringLiteral("Backup"), &MarkEditor::backupMarks);
    entry("Mnu_RestoreMrk", QStringLiteral("Restore"), &MarkEditor::restoreMarks);
    entry("Mnu_UndoMrk", kUndoTitle, &MarkEditor::undoLastUpdate);
    enableMenu();
    connect(ListView1->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            &MarkEditor::onCurrentRowChanged);

    connect(SpPosition, &platform::SpinArrows::stepped, this, [this](bool up) {
        // A position label holds a mark text, whose decimal separator is always the comma: with
        // the system's point, Cmd_Maj would refuse every stepped value.
        if (const auto next = common::stepPosition(Lbl_Position->text(), up, u","))
            Lbl_Position->setText(*next);
    });
    connect(Check_mode, &QCheckBox::clicked, this, &MarkEditor::onCheckModeClicked);
    connect(Cmd_Maj, &QPushButton::clicked, this, &MarkEditor::updateOneMark);

    // The right button over the passage takes a mark; the box's own context menu would hide that.
    m_passage.edit()->setContextMenuPolicy(Qt::NoContextMenu);
    m_passageViewport = m_passage.edit()->viewport();
    m_passageViewport->installEventFilter(this);
}

QWidget* MarkEditor::table() const {
    return ListView1;
}

bool MarkEditor::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    // The viewports are compared as kept: while a box is destroyed, its viewport still sends events
    // and the box can no longer be asked for it.
    if (watched == m_passageViewport) {
        if (type == QEvent::MouseButtonRelease &&
            static_cast<QMouseEvent*>(event)->button() == Qt::RightButton) {
            const QPoint at = static_cast<QMouseEvent*>(event)->position().toPoint();
            const int caret = m_passage.edit()->cursorForPosition(at).position();
            m_passage.setCaret(caret);
            takeMarkAt(caret);
        }
        return false;
    }
    if (watched == m_tableViewport && type == QEvent::MouseButtonRelease) {
        const auto* e = static_cast<QMouseEvent*>(event);
        if (e->button() == Qt::RightButton) {
            Mnu_Mark->popup(e->globalPosition().toPoint());
            return true;
        }
        if (e->button() == Qt::LeftButton) {
            if (const QModelIndex at = ListView1->indexAt(e->position().toPoint()); at.isValid())
                pickRow(at.row() + 1);
        }
        return false;
    }
    if (watched == ListView1 && type == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            pickRow(selectedRow());
            return true;
        }
    }
    if (watched == ListView1 && type == QEvent::ContextMenu &&
        static_cast<QContextMenuEvent*>(event)->reason() == QContextMenuEvent::Keyboard) {
        QRect r = ListView1->visualRect(ListView1->currentIndex());
        Mnu_Mark->popup(ListView1->viewport()->mapToGlobal(r.isValid() ? r.bottomLeft() : QPoint()));
        return true;
    }
    return QObject::eventFilter(watched, event);
}

// the chapter on display and RefreshMarkList

void MarkEditor::onChapterShown(const QByteArray& versionCode, const QByteArray& bookKey,
                                const QByteArray& soundPrefix, int chapter, int verseCount) {
    const QByteArray key = versionCode + '\t' + bookKey + '\t' + QByteArray::number(chapter);
    if (key != m_chapterKey) offerPendingBeforeLeaving();
    m_versionCode = versionCode;
    m_bookKey = bookKey;
    m_soundPrefix = soundPrefix;
    m_chapter = chapter;
    m_verseCount = std::clamp(verseCount, 0, kMaxVerses);
}

ChapterId MarkEditor::chapterId() const {
    return {m_bookKey, QByteArray::number(m_chapter), m_soundPrefix, m_verseCount};
}

QString MarkEditor::bookFile() const {
    return bookFilePath(m_session.DataPath, m_versionCode, m_bookKey);
}

void MarkEditor::onPassageShown(const bible::Passage& passage) {
    m_hasMarks = passage.chapterEndFound && !passage.marks.isEmpty();
    const QByteArray key = m_versionCode + '\t' + m_bookKey + '\t' + QByteArray::number(m_chapter);
    // A table of another chapter is replaced; its New marks not yet written were offered for
    // writing when the chapter changed (onChapterShown).
    if (key != m_chapterKey || marks().verseCount() != m_verseCount)
        m_model->setTable(MarkTable::forChapter(chapterId(), passage.VersePositions), key);
    else
        m_model->change([&](MarkTable& t) { t.reloadOld(passage.VersePositions, m_markUpdated); });
    m_markUpdated.reset();
    m_chapterKey = key;
    showRows();
}

const MarkTable& MarkEditor::marks() const {
    return m_model->table();
}

void MarkEditor::showRows() {
    // 1020 twips each, wider where a mark or the header would otherwise be cut short. The rows
    // differ only in their plain text, so the widest texts decide: only they are measured as the
    // view measures a cell, rather than every one of the table's rows.
    const QFontMetrics metrics(ListView1->font());
    std::vector<int> advance(std::size_t(m_model->rowCount()));
    for (int c = 0; c < 3; ++c) {
        int widest = 0;
        for (int r = 0; r < m_model->rowCount(); ++r) {
            advance[std::size_t(r)] = metrics.horizontalAdvance(m_model->index(r, c).data().toString());
            widest = std::max(widest, advance[std::size_t(r)]);
        }
        int width = ListView1->header()->isHidden() ? 0 : ListView1->header()->sectionSizeHint(c);
        for (int r = 0; r < m_model->rowCount(); ++r)
            if (advance[std::size_t(r)] + 2 >= widest)
                width = std::max(width, ListView1->sizeHintForIndex(m_model->index(r, c)).width());
        ListView1->setColumnWidth(c, std::max(width, 1020 / kTwipsPerPixel));
    }
    if (const int row = selectedRow()) Label4->setText(m_model->marking(row));
}

void MarkEditor::selectRow(int index) {
    if (index < 0 || index >= kMaxVerses) return;
    const QModelIndex row = m_model->index(index, 0);
    ListView1->setCurrentIndex(row);
    ListView1->scrollTo(row);
    Label4->setText(m_model->marking(index + 1));
}

int MarkEditor::selectedRow() const {
    const QModelIndex row = ListView1->currentIndex();
    return row.isValid() ? row.row() + 1 : 0;
}

void MarkEditor::onVerseSelected(int index) {
    selectRow(index);
    if (index >= 0 && index < kMaxVerses) Lbl_Position->setText(m_model->newMark(index + 1));
}

void MarkEditor::onPassageAudioStarted(const QByteArray& mark, int verseIndex) {
    selectRow(verseIndex);
    if (!mark.isEmpty()) Lbl_Position->setText(QString::fromUtf8(mark));
}

bool MarkEditor::isPlaying() const {
    return m_player.statusText() == QStringLiteral("Playing");
}

void MarkEditor::onCurrentRowChanged() {
    const int row = selectedRow();
    Label4->setText(row ? m_model->marking(row) : QString());
    if (isPlaying())
        showLivePosition();
    else if (row)
        Lbl_Position->setText(m_model->newMark(row));
}

void MarkEditor::showLivePosition() {
    if (!m_markMode || Lbl_Position->isHidden() || !isPlaying()) return;
    Lbl_Position->setText(QString::fromUtf8(FormatMark(positionText(m_player.position()))));
}

// mark mode and the mute button

void MarkEditor::setMarkModeTicked(bool ticked) {
    if (Check_mode->isChecked() == ticked) return;
    Check_mode->setChecked(ticked);
    onCheckModeClicked(ticked);
}

void MarkEditor::enableMenu() {
    for (QAction* a : std::as_const(m_menuEntries))
        a->setEnabled(m_markMode);
    Mnu_Mark->menuAction()->setEnabled(m_markMode);
}

void MarkEditor::enterMarkMode() {
    if (!m_markMode) {
        m_markMode = true;
        enableMenu();
        emit markModeChanged(true);
    }
    emit keepAtTopCleared();
    emit keepAtTopEnabled(false);
    Label1->setEnabled(false);
    Label11->setEnabled(false);
    if (m_hasMarks) showMarkWidgets(true);
}

void MarkEditor::onCheckModeClicked(bool ticked) {
    if (ticked) {
        // Without the sound mark mode is not entered; the box stays ticked and the mode is
        // entered when the sound comes back (onMuteToggled).
        if (!m_muted) enterMarkMode();
        return;
    }
    // Cleared before the "Window 2" target is given up: the mute button it runs reads the box.
    m_markMode = false;
    enableMenu();
    emit markModeChanged(false);
    if (!m_muted) {
        emit keepAtTopEnabled(true);
        Label11->setEnabled(true);
    } else {
        emit markModeClearedWhileMuted();
    }
    Label1->setEnabled(true);
    showMarkWidgets(false);
}

void MarkEditor::onMuteToggled(bool soundBack) {
    if (!soundBack) {
        emit keepAtTopEnabled(false);
        Label1->setEnabled(true);
        Label11->setEnabled(false);
        showMarkWidgets(false);
        return;
    }
    if (Check_mode->isChecked()) {
        // The box may have been ticked while the sound was off: the widgets come back in mark
        // mode, never beside a highlight that still follows the reading.
        enterMarkMode();
    } else {
        emit keepAtTopEnabled(true);
        Label1->setEnabled(true);
        Label11->setEnabled(true);
        showMarkWidgets(false);
    }
}

void MarkEditor::showMarkWidgets(bool shown) {
    for (QWidget* w : std::initializer_list<QWidget*>{Label4, Lbl_Position, SpPosition, ListView1})
        w->setVisible(shown);
    Cmd_Maj->setEnabled(shown);
    emit markWidgetsShown(shown);
}

// taking and picking

void MarkEditor::takeMarkAt(int caret) {
    const QString text = m_passage.plainText();
    const auto span = verseLabelAt(text, caret);
    if (!span) return;
    m_passage.select(span->start, span->length);
    if (m_muted) {
        emit verseLabelSelected(text.mid(span->start, span->length));
        return;
    }
    const QByteArray label = text.mid(span->start, span->length).toUtf8();
    if (const auto row = m_model->setNewMark(m_soundPrefix, label, positionText(m_player.position())))
        selectRow(*row - 1);
}

void MarkEditor::pickRow(int row) {
    if (row < 1 || row > kMaxVerses || m_model->marking(row).isEmpty()) return;
    emit verseWanted(row - 1, true);
    emit passageAudioWanted();
}

// the Markage menu

bool MarkEditor::mayReplacePending() {
    const std::size_t pending = marks().pendingRows().size();
    if (pending == 0) return true;
    return m_prompts.ask(QStringLiteral("The New marks not yet written (%1) will be replaced.")
                             .arg(verses(int(pending))),
                         QStringLiteral("Markage"), platform::PromptButtons::OkCancel,
                         platform::PromptIcon::Exclamation) == platform::PromptAnswer::Ok;
}

void MarkEditor::offerPendingBeforeLeaving() {
    if (m_chapterKey.isEmpty() || marks().verseCount() != m_verseCount) return;
    const std::vector<int> pending = marks().pendingRows();
    if (pending.empty()) return;
    const ChapterId id = chapterId();
    const QString shown = QString::fromUtf8(m_soundPrefix) + QString::number(m_chapter);
    if (m_prompts.ask(QStringLiteral("The New marks of %1 (%2) are not written yet.\r\nWrite them into the "
                                     "book file now?")
                          .arg(shown, verses(int(pending.size()))),
                      QStringLiteral("Update"), platform::PromptButtons::YesNo,
                      platform::PromptIcon::Question) != platform::PromptAnswer::Yes)
        return;
    const QString file = bookFile();
    reportWrite(writeMarks(m_versionCode, id, marks()), file);
}

bool MarkEditor::mayClose() {
    if (marks().verseCount() != m_verseCount) return true;
    const std::vector<int> pending = marks().pendingRows();
    if (pending.empty()) return true;
    const QString shown = QString::fromUtf8(m_soundPrefix) + QString::number(m_chapter);
    const platform::PromptAnswer a = m_prompts.ask(
        QStringLiteral("The New marks of %1 (%2) are not written yet.\r\nWrite them into the book file "
                       "before closing?")
            .arg(shown, verses(int(pending.size()))),
        QStringLiteral("Update"), platform::PromptButtons::YesNoCancel, platform::PromptIcon::Question);
    if (a == platform::PromptAnswer::No) return true;
    if (a != platform::PromptAnswer::Yes) return false;
    const QString file = bookFile();
    const WriteResult r = writeMarks(m_versionCode, chapterId(), marks());
    reportWrite(r, file);
    return r.status == WriteStatus::Written;
}

void MarkEditor::newMarks() {
    if (!m_markMode || !mayReplacePending()) return;
    m_model->change([](MarkTable& t) { t.resetNew(); });
    showRows();
}

void MarkEditor::oldMarks() {
    if (!m_markMode || !mayReplacePending()) return;
    if (m_verseCount > 0) emit verseWanted(m_verseCount - 1, false);
    m_model->change([](MarkTable& t) { t.copyOldToNew(); });
    showRows();
}

void MarkEditor::suggestMarks() {
    if (!m_markMode || !mayReplacePending()) return;
    // Decoding and aligning a chapter takes well under a second; nothing is written until Update.
    // Doubtful starts are coloured, with the reason in their tooltip.
    platform::WaitCursor wait;
    const ChapterSuggestion s = suggestChapter(m_session.DataPath, m_versionCode, chapterId());
    wait.restore();
    if (!s.outcome.error.isEmpty()) {
        m_prompts.tell(s.outcome.error, platform::kAppTitle, platform::PromptIcon::Exclamation);
        return;
    }
    m_model->change([&](MarkTable& t) { t.setNewStarts(s.outcome.starts); });
    MarkTableModel::Doubts doubts;
    for (qsizetype i = 0; i < s.outcome.doubts.size(); ++i)
        if (!s.outcome.doubts[i].isEmpty())
            doubts.insert(int(i) + 1, {marks().row(int(i) + 1).newMark,
                                       tr("Check by ear: %1 (confidence %2)")
                                           .arg(s.outcome.doubts[i])
                                           .arg(s.outcome.confidence[std::size_t(i)], 0, 'f', 2)});
    m_model->setDoubts(doubts);
    showRows();
}

WriteResult MarkEditor::writeMarks(const QByteArray& versionCode, const ChapterId& id,
                                   const MarkTable& table) {
    const QString file = bookFilePath(m_session.DataPath, versionCode, id.bookKey);
    const QString previous = previousMarksPath(m_session.DataPath, versionCode, id);
    const WriteResult r = updateChapterMarks(file, id.bookKey, id.chapter, id.verseCount, table, previous);
    if (r.status == WriteStatus::Written && r.changedLines > 0) emit bookFileWritten(file);
    return r;
}

void MarkEditor::updateMarks() {
    if (!m_markMode) return;
    // The confirmation counts what will be written: rows whose New differs from the Old shown, never
    // a zero the user did not give.
    const int changes = int(marks().pendingRows().size());
    if (m_prompts.ask(confirmation(changes), QStringLiteral("Update"), platform::PromptButtons::OkCancel) !=
        platform::PromptAnswer::Ok)
        return;
    platform::WaitCursor wait;
    // Written against the Old column as shown: the passage is rebuilt (which reloads Old from the
    // file) only afterwards, so a mark changed in the file meanwhile is seen as a conflict.
    const QString file = bookFile();
    const WriteResult r = writeMarks(m_versionCode, chapterId(), marks());
    emit verseWanted(0, false);
    emit passageAudioWanted();
    wait.restore();
    reportWrite(r, file);
}

void MarkEditor::undoLastUpdate() {
    if (!m_markMode) return;
    const ChapterId id = chapterId();
    const QString shown = QString::fromUtf8(m_soundPrefix) + QString::number(m_chapter);
    const auto backup = common::readWholeFile(previousMarksPath(m_session.DataPath, m_versionCode, id));
    const QString file = bookFile();
    const auto content = common::readWholeFile(file);
    if (!backup || !content) {
        m_prompts.tell(backup ? tr("The marks could not be read from\r\n%1").arg(file)
                              : QStringLiteral("There is no update of %1 to undo.").arg(shown),
                       kUndoTitle, platform::PromptIcon::Exclamation);
        return;
    }
    QString why;
    const auto table = undoTable(
        id, marks::oldMarks(chapterLines(*content, m_bookKey, id.chapter, m_verseCount)), *backup, &why);
    if (!table) {
        m_prompts.tell(why, kUndoTitle, platform::PromptIcon::Exclamation);
        return;
    }
    if (m_prompts.ask(confirmation(int(table->pendingRows().size())), kUndoTitle,
                      platform::PromptButtons::OkCancel) != platform::PromptAnswer::Ok)
        return;
    platform::WaitCursor wait;
    // The marks undone are kept in their turn, so a second undo brings them back.
    const WriteResult r = writeMarks(m_versionCode, id, *table);
    emit verseWanted(0, false);
    emit passageAudioWanted();
    wait.restore();
    reportWrite(r, file);
}

void MarkEditor::updateOneMark() {
    platform::WaitCursor wait;
    // While the recording plays, the position written is the one heard now, shown before it is written.
    showLivePosition();
    const QByteArray position = Lbl_Position->text().toUtf8();
    if (!isPositionText(position)) {
        wait.restore();
        m_prompts.tell(QStringLiteral("Erreur de saisie"), QStringLiteral("Attention"),
                       platform::PromptIcon::Exclamation);
        return;
    }
    // The verse the selected row (and Label4) names, which is also the verse shown afterwards.
    const int row = selectedRow();
    if (row < 1 || row > m_verseCount) {
        wait.restore();
        m_prompts.tell(QStringLiteral("Select a verse of the chapter in the table: nothing was written."),
                       QStringLiteral("Attention"), platform::PromptIcon::Exclamation);
        return;
    }
    const QString file = bookFile();
    const ChapterId id = chapterId();
    if (marks().row(row).oldMark != FormatMark(position)) {
        // Kept as an Update keeps them, for "Undo last update".
        const QString previous = previousMarksPath(m_session.DataPath, m_versionCode, id);
        QString why;
        if (!keepChapterMarks(file, id, previous, &why)) {
            wait.restore();
            reportWrite({WriteStatus::BackupFailed, 0, 0, why, {}}, file);
            return;
        }
    }
    const WriteResult r = UpdateOneMark(file, m_bookKey, id.chapter, QByteArray::number(row), position);
    if (r.status != WriteStatus::Written) {
        wait.restore();
        reportWrite(r, file);
        return;
    }
    if (r.changedLines > 0) emit bookFileWritten(file);
    m_markUpdated = row;
    emit bibleAudioStopWanted();
    emit verseWanted(row - 1, true);
    emit passageAudioWanted();
}

void MarkEditor::reportWrite(const WriteResult& r, const QString& file) {
    if (r.status == WriteStatus::BackupFailed) {
        m_prompts.tell(
            tr("The marks were not written: their previous values could not be kept first.\r\n(%1)")
                .arg(r.whyNot),
            platform::kAppTitle, platform::PromptIcon::Exclamation);
    } else if (r.status != WriteStatus::Written) {
        const QString why = r.whyNot.isEmpty() ? QString() : QStringLiteral("\r\n(%1)").arg(r.whyNot);
        m_prompts.tell(tr("The marks could not be written to\r\n%1").arg(file) + why, platform::kAppTitle,
                       platform::PromptIcon::Exclamation);
    } else if (!r.conflicts.empty()) {
        m_prompts.tell(
            QStringLiteral("The marks of verse(s) %1 were changed in the book file by someone else "
                           "after they were shown, and were left as they are there.\r\nThe Old "
                           "column now shows them; Update again to replace them with your New "
                           "marks.")
                .arg(verseList(r.conflicts)),
            platform::kAppTitle, platform::PromptIcon::Exclamation);
    }
}

void MarkEditor::backupMarks() {
    if (!m_markMode) return;
    const ChapterId id = chapterId();
    const auto path = m_dialogs.saveFile(
        {QStringLiteral("Backup to ..."), QString::fromUtf8(backupFileName(id)), QString(), kBackupFilter});
    if (!path) return;
    // The save dialog asks nothing before a file is replaced: that question is asked here.
    if (QFileInfo::exists(*path) &&
        m_prompts.ask(
            QStringLiteral("%1 already exists.\r\nReplace it?").arg(QDir::toNativeSeparators(*path)),
            QStringLiteral("Backup to ..."), platform::PromptButtons::YesNo,
            platform::PromptIcon::Question) != platform::PromptAnswer::Yes)
        return;
    QString why;
    if (!common::writeFileAtomic(*path, backupBytes(id, marks()), &why))
        m_prompts.tell(tr("The backup could not be written to\r\n%1\r\n(%2)").arg(*path, why),
                       platform::kAppTitle, platform::PromptIcon::Exclamation);
}

void MarkEditor::restoreMarks() {
    if (!m_markMode) return;
    const ChapterId id = chapterId();
    const auto path = m_dialogs.openFile({QStringLiteral("Restore from ..."),
                                          QString::fromUtf8(backupFileName(id)), QString(), kBackupFilter});
    if (!path) return;
    MarkTable restored = marks();
    QString why;
    if (!restoreBackup(id, *path, restored, &why)) {
        m_prompts.tell(why.isEmpty() ? restoreRefusal(id) : why, platform::kAppTitle,
                       platform::PromptIcon::Exclamation);
        return;
    }
    if (!mayReplacePending()) return;
    m_model->setTable(restored, m_chapterKey);
    showRows();
}

} // namespace lumora::marks
