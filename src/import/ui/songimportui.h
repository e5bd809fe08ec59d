#pragma once
// Songs into a hymn book from the window, and a hymn book out as OpenLyrics.
//
// "Add songs…" asks for files (song files and zip archives), then shows a preview (Frm_AddSongs):
// how many songs of each format, the target book (an existing one or a new name), the theme and
// sub-theme every song goes under (empty: the songs' own). "Import" reads the songs a few at a
// time on a timer, with a progress bar, writes "Hira.txt" at the end and reports what changed
// and what could not be read; songsImported() then brings the new hymns into the lists.

#include "import/songs/songimport.h"
#include "platform/commondialog.h"
#include "platform/prompts.h"
#include "session/session.h"

#include <QDialog>
#include <QObject>
#include <QPointer>

#include <optional>
#include <vector>

class QComboBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QTimer;
class QWidget;

namespace lumora::import {

// "12 songs: OpenLyrics 10, ChordPro 2; 1 file is not a song" for the preview.
QString songCountText(const std::vector<std::optional<SongFormat>>& formats);

class SongImportUi final : public QObject {
    Q_OBJECT
  public:
    SongImportUi(const session::Session& session, platform::CommonDialog& dialogs, platform::Prompts& prompts,
                 QWidget* window, QObject* parent = nullptr);
    ~SongImportUi() override;

    // The preview while it is open, else null.
    QDialog* preview() const { return m_preview; }

  public slots:
    // "Add songs…"; the preview proposes `currentBook` as the target.
    void addSongs(const QString& currentBook);
    // "Export hymn book…" of `book`.
    void exportBook(const QString& book);

  signals:
    // An import wrote its hymns; `firstEntry` is the first new hymn's entry.
    void songsImported(const QString& book, const QString& firstEntry);

  private:
    void buildPreview(const QString& currentBook);
    void startImport();
    void step();
    void finishImport();
    void cancel();

    const session::Session& m_session;
    platform::CommonDialog& m_dialogs;
    platform::Prompts& m_prompts;
    QWidget* m_window;
    QPointer<QDialog> m_preview;
    QLabel* Lbl_SongCount = nullptr;
    QComboBox* ComboBox_TargetBook = nullptr;
    QLineEdit* Text_Theme = nullptr;
    QLineEdit* Text_SubTheme = nullptr;
    QProgressBar* ProgressBar_Import = nullptr;
    QPushButton* Cmd_Import = nullptr;
    QTimer* m_timer = nullptr;

    std::vector<SongInput> m_inputs;
    std::vector<ImportProblem> m_collectProblems;
    std::optional<SongImport> m_run;
    size_t m_next = 0;
};

} // namespace lumora::import
