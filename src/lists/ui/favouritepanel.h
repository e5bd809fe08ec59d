#pragma once
// One list panel: the drop-down of a folder's lists, the entries of the chosen list, the add
// button, the seven editing pictures, the note picture and the "Show" check box that swaps the
// panel with the search row sharing its place. The same class serves verse lists and playlists,
// configured by PanelConfig.
//
// Every change is written at once with Enregistrer_Favori; the list boxes change only after the
// file was written, so the two always agree. Several windows (or programs) may share a data
// folder: before each edit the file is compared with what was last read or written, and when it
// changed it is read again, so that no one's entries are written over unseen. Playlists keep the whole
// entries in the hidden table List_InfoFavori_Canticle, row for row beside the labels shown in
// List_Favori_Canticle.

#include "lists/ui/favouritehost.h"
#include "lists/ui/panelconfig.h"
#include "platform/prompts.h"
#include "platform/shell.h"

#include <QList>
#include <QObject>
#include <QPointer>
#include <QStringList>

#include <array>
#include <optional>

class QCheckBox;
class QComboBox;
class QFrame;
class QLabel;
class QListWidget;
class QToolButton;
class QWidget;

namespace lumora::lists {

class FrmNewName;

inline const QString kRenameFailure =
    QStringLiteral("Close the \"Note\" file if it is open.\r\rIf not, creat it with \"Note\" button");
// A name typed for a new list that another list or note already has (in any letter case).
inline const QString kListNameTaken = QStringLiteral("A list named \"%1\" exists already.");
inline const QString kDeleteTitle = QStringLiteral("Lumora's Bible Interface");
// Shown instead of rewriting a list that was not read whole (the rest would be lost).
inline const QString kListNotWhole =
    QStringLiteral("This list was not read whole: %1. It is left unchanged so that nothing in it is lost; "
                   "correct the file by hand, then choose the list again.\r\r%2");
inline const QString kListNotWritten =
    QStringLiteral("The list could not be written (%1); it is unchanged.\r\r%2");
// Shown when the list file changed on disk (another window or program) since it was shown: the
// list is read again first.
inline const QString kListChangedAdded =
    QStringLiteral("This list was changed by another window or program since it was shown. It has been "
                   "read again, and the entry was added to it as it is now.\r\r%1");
inline const QString kListChangedRefused =
    QStringLiteral("This list was changed by another window or program since it was shown. It has been "
                   "read again and nothing was changed: please repeat your change on the list as it is "
                   "now.\r\r%1");

class FavouritePanel final : public QObject {
    Q_OBJECT
  public:
    // The widgets are created as children of `parent`, inside widget(). nameDialog may be shared
    // between panels; without one the panel creates its own on first use.
    FavouritePanel(const PanelConfig& config, FavouriteHost& host, platform::Prompts& prompts,
                   platform::Shell& shell, QWidget* parent, FrmNewName* nameDialog = nullptr);

    // The container holding every widget of the panel, the check box first.
    QWidget* widget() const { return m_widget; }
    // The search controls that share the panel's place; shown while the check box is cleared.
    void setSearchControls(const QList<QWidget*>& controls);

    // Refills the drop-down from pattern ("<folder>/*.txt") with no row selected, and clears the
    // entry lists. Raises no value change.
    void refreshCombo(const QString& pattern);
    // Loads the list file at path into the entry lists, no row selected. A file that cannot be
    // read leaves the lists empty; playlist lines without a TAB are left out. Either way the file
    // was not read whole, and the edits that would rewrite it are refused with a message.
    void refreshList(const QString& path);
    // Start-up: the list folder (FavBibleFolder or FavCanticleFolder) is the config's folder under
    // dataPath, created when missing; then guard off, refill, select row 0, guard on, and that list
    // is chosen as the user would (its first entry opens).
    void startUp(const QString& dataPath);
    // The folder of the lists (set by startUp, or directly by tests).
    void setFolder(const QString& folder) { m_folder = folder; }
    QString folder() const { return m_folder; }
    // FavBibleComboReady / FavCanticleComboReady: the drop-down's own picks are acted upon.
    bool isComboReady() const { return m_comboReady; }

    // The rows written to the file (verse entries, or the whole hymn entries).
    QStringList entries() const;
    // The chosen list, "" when none.
    QString currentList() const;
    const PanelConfig& config() const { return m_config; }

    QComboBox* combo() const { return m_combo; }
    QListWidget* entryList() const { return m_list; }
    QListWidget* infoList() const { return m_info; } // playlists only
    QCheckBox* showBox() const { return m_check; }
    QFrame* frame() const { return m_frame; }
    QToolButton* addButton() const { return m_add; }
    QToolButton* noteButton() const { return m_note; }
    QToolButton* editButton(EditButton b) const { return m_buttons[b]; }
    FrmNewName* nameDialog();

  public slots:
    void onListChosen();
    void onAddClicked();
    void onEntryClicked(int row);
    // New asks for the name, proposing the first free "New List…"; the list is made on OK.
    void onNewClicked();
    void onNewConfirmed(const QString& name);
    void onRenameClicked();
    void onRenameConfirmed(const QString& newName);
    void onEraseClicked();
    void onEmptyClicked();
    void onRemoveClicked();
    void onUpClicked();
    void onDownClicked();
    void onNoteClicked();
    void onShowToggled(bool checked);

  signals:
    // An entry was opened (after the host brought it on screen).
    void entryOpened(const QString& entry);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    std::optional<QString> currentPath() const;
    void showEntries(const QStringList& rows, int selected);
    bool writeEntries(const QStringList& rows, bool crAfterLast);
    // The chosen list's file no longer holds what the panel last read or wrote: it is loaded again
    // and shown (no row selected). True when it had changed.
    bool reloadIfChanged();
    // Before a removal, a move or emptying: a list changed on disk is read again and the user told
    // to repeat the change (the row it named may now be another entry). True when refused.
    bool refuseIfChanged();
    // Notes the bytes the chosen list's file holds now.
    void rememberFile(const QString& path);
    void refillAndChooseFirst();

    const PanelConfig& m_config;
    QString m_folder;
    bool m_comboReady = false;
    FavouriteHost& m_host;
    platform::Prompts& m_prompts;
    platform::Shell& m_shell;

    QWidget* m_widget;
    QCheckBox* m_check;
    QComboBox* m_combo;
    QToolButton* m_add;
    QFrame* m_frame;
    std::array<QToolButton*, 7> m_buttons{};
    QToolButton* m_note;
    QListWidget* m_list;
    QListWidget* m_info = nullptr;
    QPointer<FrmNewName> m_nameDialog;
    QList<QPointer<QWidget>> m_search;
    QString m_notWholeReason; // why the chosen list was not read whole; empty when it was
    // The chosen list's file as last read or written (nullopt: it did not exist or was unreadable).
    std::optional<QByteArray> m_fileBytes;
};

} // namespace lumora::lists
