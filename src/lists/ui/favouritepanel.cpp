#include "lists/ui/favouritepanel.h"

#include "common/lines.h"
#include "common/paths.h"
#include "lists/listedit.h"
#include "lists/listfile.h"
#include "lists/listfolder.h"
#include "lists/ui/frmnewname.h"
#include "lists/ui/notes.h"

#include <QDir>

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QSignalBlocker>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

namespace lumora::lists {

using platform::PromptAnswer;
using platform::PromptButtons;
using platform::PromptIcon;

namespace {
QToolButton* picture(QWidget* parent, const QString& name, QStyle::StandardPixmap pixmap,
                     const QString& tip = {}) {
    auto* b = new QToolButton(parent);
    b->setObjectName(name);
    b->setIcon(parent->style()->standardIcon(pixmap));
    b->setAutoRaise(true);
    if (!tip.isNull()) b->setToolTip(tip);
    return b;
}

// The hourglass on one widget for the length of a scope.
class BusyCursor final {
  public:
    explicit BusyCursor(QWidget* w) : m_w(w) { m_w->setCursor(Qt::WaitCursor); }
    ~BusyCursor() { m_w->unsetCursor(); }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;

  private:
    QWidget* m_w;
};
} // namespace

FavouritePanel::FavouritePanel(const PanelConfig& config, FavouriteHost& host, platform::Prompts& prompts,
                               platform::Shell& shell, QWidget* parent, FrmNewName* nameDialog)
    : QObject(parent), m_config(config), m_host(host), m_prompts(prompts), m_shell(shell),
      m_nameDialog(nameDialog) {
    m_widget = new QWidget(parent);
    m_check = new QCheckBox(QStringLiteral("Show"), m_widget);
    m_check->setObjectName(config.checkName);
    m_check->setToolTip(config.kind == ListKind::VerseList
                            ? tr("Ticked, the verse lists take the place of the search row")
                            : tr("Ticked, the playlists take the place of the search row"));
    m_combo = new QComboBox(m_widget);
    m_combo->setObjectName(config.comboName);
    m_add = picture(m_widget, config.addName, QStyle::SP_DialogApplyButton, config.addToolTip);
    m_add->setText(tr("Add"));
    m_add->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    m_frame = new QFrame(m_widget);
    m_frame->setObjectName(config.frameName);
    m_list = new QListWidget(m_widget);
    m_list->setObjectName(config.listName);
    // A handful of rows is enough; the passage or hymn below keeps the height.
    m_list->setMaximumHeight(m_list->fontMetrics().height() * 7);
    if (config.kind == ListKind::PlayList) {
        // A table only: never shown, never laid out.
        m_info = new QListWidget(m_widget);
        m_info->setObjectName(config.infoListName);
        m_info->hide();
    }

    static constexpr std::array<QStyle::StandardPixmap, 7> icons{
        QStyle::SP_FileIcon,          QStyle::SP_FileDialogDetailedView, QStyle::SP_TrashIcon,
        QStyle::SP_DialogResetButton, QStyle::SP_DialogDiscardButton,    QStyle::SP_ArrowUp,
        QStyle::SP_ArrowDown};
    auto* grid = new QGridLayout(m_frame);
    grid->setContentsMargins(2, 2, 2, 2);
    for (std::size_t i = 0; i < m_buttons.size(); ++i) {
        const EditButtonConfig& b = config.buttons[i];
        m_buttons[i] = picture(m_frame, b.objectName, icons[i], b.toolTip);
        auto* caption = new QLabel(b.caption, m_frame);
        caption->setObjectName(b.captionName);
        caption->setAlignment(Qt::AlignHCenter);
        grid->addWidget(m_buttons[i], 0, static_cast<int>(i), Qt::AlignHCenter);
        grid->addWidget(caption, 1, static_cast<int>(i));
    }
    m_note =
        picture(m_frame, config.noteName, QStyle::SP_FileDialogContentsView, QStringLiteral(" Comment "));
    grid->addWidget(m_note, 0, 7, Qt::AlignHCenter);
    grid->addWidget(new QLabel(QStringLiteral("Note"), m_frame), 1, 7);

    auto* top = new QHBoxLayout;
    top->addWidget(m_combo, 1);
    top->addWidget(m_add);
    auto* layout = new QVBoxLayout(m_widget);
    layout->setContentsMargins(0, 0, 0, 0);
    // The box stays at the right end of the row whether the panel or the search row is shown, so a
    // second click in the same place finds it again.
    layout->addWidget(m_check, 0, Qt::AlignRight);
    layout->addLayout(top);
    layout->addWidget(m_frame);
    layout->addWidget(m_list, 1);
    layout->addStretch(); // with the panel folded the box stays at the top of its row

    connect(m_combo, &QComboBox::currentIndexChanged, this, &FavouritePanel::onListChosen);
    connect(m_add, &QToolButton::clicked, this, &FavouritePanel::onAddClicked);
    // itemClicked comes once per click, after the press has selected the row.
    connect(m_list, &QListWidget::itemClicked, this,
            [this](QListWidgetItem* item) { onEntryClicked(m_list->row(item)); });
    m_list->installEventFilter(this); // Enter opens the current entry, as a click does
    if (m_info)
        connect(m_list, &QListWidget::currentRowChanged, m_info,
                [this](int row) { m_info->setCurrentRow(row); });
    connect(m_buttons[NewButton], &QToolButton::clicked, this, &FavouritePanel::onNewClicked);
    connect(m_buttons[RenameButton], &QToolButton::clicked, this, &FavouritePanel::onRenameClicked);
    connect(m_buttons[EraseButton], &QToolButton::clicked, this, &FavouritePanel::onEraseClicked);
    connect(m_buttons[EmptyButton], &QToolButton::clicked, this, &FavouritePanel::onEmptyClicked);
    connect(m_buttons[RemoveButton], &QToolButton::clicked, this, &FavouritePanel::onRemoveClicked);
    connect(m_buttons[UpButton], &QToolButton::clicked, this, &FavouritePanel::onUpClicked);
    connect(m_buttons[DownButton], &QToolButton::clicked, this, &FavouritePanel::onDownClicked);
    connect(m_note, &QToolButton::clicked, this, &FavouritePanel::onNoteClicked);
    connect(m_check, &QCheckBox::toggled, this, &FavouritePanel::onShowToggled);
    onShowToggled(m_check->isChecked());
}

bool FavouritePanel::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_list && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if ((key == Qt::Key_Return || key == Qt::Key_Enter) && m_list->currentRow() >= 0) {
            onEntryClicked(m_list->currentRow());
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

FrmNewName* FavouritePanel::nameDialog() {
    if (!m_nameDialog) m_nameDialog = new FrmNewName(m_widget->window());
    return m_nameDialog;
}

void FavouritePanel::setSearchControls(const QList<QWidget*>& controls) {
    m_search.clear();
    for (QWidget* w : controls)
        m_search.append(w);
    onShowToggled(m_check->isChecked());
}

// loading

void FavouritePanel::refreshCombo(const QString& pattern) {
    const QSignalBlocker block(m_combo);
    m_combo->clear();
    m_notWholeReason.clear();
    showEntries({}, -1);
    m_combo->addItems(listNames(pattern));
    // Rows are added without choosing one, so that the next selection raises the value change.
    m_combo->setCurrentIndex(-1);
}

void FavouritePanel::rememberFile(const QString& path) {
    m_fileBytes = common::readFile(path).bytes;
}

bool FavouritePanel::reloadIfChanged() {
    const auto path = currentPath();
    if (!path || common::readFile(*path).bytes == m_fileBytes) return false;
    refreshList(*path);
    return true;
}

void FavouritePanel::refreshList(const QString& path) {
    rememberFile(path);
    const LoadedList list = loadListFile(path, m_config.kind == ListKind::PlayList);
    if (list.unreadable)
        m_notWholeReason = QStringLiteral("the file cannot be read");
    else if (list.rejectedLines > 0)
        m_notWholeReason =
            QStringLiteral("%1 line(s) without a TAB are not hymn entries").arg(list.rejectedLines);
    else
        m_notWholeReason.clear();
    showEntries(list.rows, -1);
}

void FavouritePanel::startUp(const QString& dataPath) {
    // Created beside the content, never the content folders themselves.
    m_folder = common::findPath(dataPath, m_config.folder.split(QLatin1Char('/')));
    QDir().mkdir(m_folder);
    m_comboReady = false;
    refreshCombo(listPattern(folder()));
    if (m_combo->count() > 0) m_combo->setCurrentIndex(0);
    m_comboReady = true;
    onListChosen();
}

QStringList FavouritePanel::entries() const {
    const QListWidget* source = m_info ? m_info : m_list;
    QStringList rows;
    rows.reserve(source->count());
    for (int i = 0; i < source->count(); ++i)
        rows << source->item(i)->text();
    return rows;
}

QString FavouritePanel::currentList() const {
    return m_combo->currentIndex() < 0 ? QString() : m_combo->currentText();
}

std::optional<QString> FavouritePanel::currentPath() const {
    const QString name = currentList();
    if (name.isEmpty()) return std::nullopt;
    return listFilePath(folder(), name);
}

void FavouritePanel::showEntries(const QStringList& rows, int selected) {
    m_list->clear();
    if (m_info) m_info->clear();
    for (const QString& row : rows) {
        m_list->addItem(m_info ? playlistLabel(row).value_or(row) : row);
        if (m_info) m_info->addItem(row);
    }
    if (m_info) m_info->setCurrentRow(selected);
    m_list->setCurrentRow(selected);
}

bool FavouritePanel::writeEntries(const QStringList& rows, bool crAfterLast) {
    const auto path = currentPath();
    if (!path) return false;
    if (!m_notWholeReason.isEmpty()) {
        m_prompts.tell(kListNotWhole.arg(m_notWholeReason, QDir::toNativeSeparators(*path)));
        return false;
    }
    QString why;
    if (!Enregistrer_Favori(*path, joinEntries(rows, crAfterLast), &why)) {
        m_prompts.tell(kListNotWritten.arg(why, QDir::toNativeSeparators(*path)));
        return false;
    }
    rememberFile(*path);
    return true;
}

void FavouritePanel::onListChosen() {
    if (!m_comboReady) return;
    const auto path = currentPath();
    if (!path) return;
    refreshList(*path);
    if (m_list->count() > 0) {
        m_list->setCurrentRow(0);
        onEntryClicked(0);
    }
}

void FavouritePanel::onAddClicked() {
    if (m_combo->count() == 0 || m_combo->currentIndex() < 0) return;
    const auto entry = m_host.entryOnDisplay();
    if (!entry || entry->isEmpty()) return;
    if (m_config.kind == ListKind::PlayList && !playlistLabel(*entry)) return;
    // An entry added to the list as it is on disk now, so that another window's entries stay.
    const bool changed = reloadIfChanged();
    const QStringList rows = entries() << *entry;
    if (!writeEntries(rows, true)) return;
    showEntries(rows, static_cast<int>(rows.size()) - 1);
    if (changed) m_prompts.tell(kListChangedAdded.arg(QDir::toNativeSeparators(currentPath().value_or(""))));
}

void FavouritePanel::onEntryClicked(int row) {
    const QStringList rows = entries();
    if (row < 0 || row >= rows.size()) return;
    if (m_info) m_info->setCurrentRow(row);
    {
        const BusyCursor busy(m_list);
        m_host.openEntry(rows.at(row));
    }
    emit entryOpened(rows.at(row));
}

// editing

void FavouritePanel::refillAndChooseFirst() {
    m_comboReady = false;
    refreshCombo(listPattern(folder()));
    m_comboReady = true;
    if (m_combo->count() > 0) m_combo->setCurrentIndex(0);
}

void FavouritePanel::onNewClicked() {
    QStringList rows;
    for (int i = 0; i < m_combo->count(); ++i)
        rows << m_combo->itemText(i);
    const QString dir = folder();
    const QString name = NewListName(rows, [&dir](const QString& n) { return isListNameTaken(dir, n); });
    nameDialog()->ask(m_config.buttons[NewButton].toolTip, name, m_config.kind == ListKind::VerseList,
                      [this](const QString& typed) { onNewConfirmed(typed); });
}

void FavouritePanel::onNewConfirmed(const QString& name) {
    const BusyCursor busy(m_buttons[NewButton]);
    const QString dir = folder();
    if (const std::optional<QString> problem = listNameProblem(name)) {
        m_prompts.tell(*problem);
        return;
    }
    if (m_combo->findText(name, Qt::MatchExactly) >= 0 || isListNameTaken(dir, name)) {
        m_prompts.tell(kListNameTaken.arg(name));
        return;
    }
    if (!createList(dir, name)) {
        m_prompts.tell(kListNotWritten.arg(QStringLiteral("no file could be made in the folder"),
                                           QDir::toNativeSeparators(dir)));
        return;
    }
    {
        const QSignalBlocker block(m_combo);
        m_combo->addItem(name);
        m_combo->setCurrentIndex(-1);
    }
    m_combo->setCurrentIndex(m_combo->count() - 1);
    showEntries({}, -1);
}

void FavouritePanel::onRenameClicked() {
    const QString name = currentList();
    if (name.isEmpty()) return;
    // Verse lists are renamed modally, playlists not. The new name goes to the panel that asked.
    nameDialog()->ask(m_config.renameCaption, name, m_config.kind == ListKind::VerseList,
                      [this](const QString& typed) { onRenameConfirmed(typed); });
}

void FavouritePanel::onRenameConfirmed(const QString& newName) {
    const QString old = currentList();
    if (old.isEmpty()) return;
    switch (renameList(folder(), old, newName)) {
    case RenameOutcome::Renamed:
        break;
    case RenameOutcome::UnusableName:
        m_prompts.tell(listNameProblem(newName).value_or(kRenameFailure));
        return;
    case RenameOutcome::Taken:
    case RenameOutcome::Failed:
        m_prompts.tell(kRenameFailure);
        return;
    }
    refillAndChooseFirst();
}

void FavouritePanel::onEraseClicked() {
    const QString name = currentList();
    if (name.isEmpty()) return;
    if (m_prompts.ask(m_config.deleteQuestion, kDeleteTitle, PromptButtons::YesNo, PromptIcon::None) !=
        PromptAnswer::Yes)
        return;
    if (!deleteList(folder(), name)) {
        m_prompts.tell(QStringLiteral("Close \"  ") + name + QStringLiteral(".rtf\""));
        return;
    }
    refillAndChooseFirst();
}

bool FavouritePanel::refuseIfChanged() {
    if (!reloadIfChanged()) return false;
    m_prompts.tell(kListChangedRefused.arg(QDir::toNativeSeparators(currentPath().value_or(""))));
    return true;
}

void FavouritePanel::onEmptyClicked() {
    if (m_list->count() == 0) return;
    if (refuseIfChanged()) return;
    if (m_prompts.ask(m_config.emptyWarning, m_config.emptyTitle, PromptButtons::OkCancel,
                      PromptIcon::None) != PromptAnswer::Ok)
        return;
    if (!writeEntries({}, false)) return;
    showEntries({}, -1);
}

void FavouritePanel::onRemoveClicked() {
    if (m_list->count() > 0 && refuseIfChanged()) return;
    const auto r = removeEntry(entries(), m_list->currentRow());
    if (!r || !writeEntries(r->rows, false)) return;
    showEntries(r->rows, r->selected);
}

void FavouritePanel::onUpClicked() {
    if (refuseIfChanged()) return;
    const auto r = moveEntryUp(entries(), m_list->currentRow());
    if (!r) {
        m_prompts.tell(m_config.moveUpError);
        return;
    }
    if (!writeEntries(r->rows, false)) return;
    showEntries(r->rows, r->selected);
}

void FavouritePanel::onDownClicked() {
    if (refuseIfChanged()) return;
    const auto r = moveEntryDown(entries(), m_list->currentRow());
    if (!r) {
        m_prompts.tell(m_config.moveDownError);
        return;
    }
    if (!writeEntries(r->rows, false)) return;
    showEntries(r->rows, r->selected);
}

void FavouritePanel::onNoteClicked() {
    openNote(m_shell, folder(), currentList());
}

void FavouritePanel::onShowToggled(bool checked) {
    for (const auto& w : m_search)
        if (w) w->setVisible(!checked);
    m_add->setVisible(checked);
    m_combo->setVisible(checked);
    m_frame->setVisible(checked);
    m_list->setVisible(checked);
}

} // namespace lumora::lists
