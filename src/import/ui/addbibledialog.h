#pragma once
// "Add a Bible…": reads the chosen file, zip or folder in the background with a progress bar and a
// Cancel, then shows what it found (format, language, books, chapters, verses, a sample verse)
// beside the code and name fields, checked as the command line checks them. "Import" writes the
// version; until then nothing in the data folder changes, so Cancel leaves nothing behind.

#include "import/bibleimport.h"

#include <QDialog>

#include <atomic>

class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QThread;
class QTimer;

namespace lumora::import {

class AddBibleDialog final : public QDialog {
    Q_OBJECT
  public:
    // `path`: a file, a zip or a folder.
    AddBibleDialog(const QString& dataFolder, const QString& path, QWidget* parent = nullptr);
    ~AddBibleDialog() override;

    // Starts reading; readFinished() follows.
    void start();
    bool isReading() const { return m_worker != nullptr; }
    // The read gave a Bible: the preview is shown and Import can be pressed.
    bool hasBible() const { return m_result.bible.has_value(); }
    const BibleReadResult& result() const { return m_result; }

  signals:
    void readFinished();
    void versionAdded(const QByteArray& code);

  private slots:
    void onReadDone();
    void onImport();
    void onCancel();
    void onFieldsEdited();

  private:
    void showPreview();

    QString m_dataFolder;
    QString m_path;
    QLabel* m_what = nullptr;
    QLabel* m_sample = nullptr;
    QLabel* m_message = nullptr;
    QLineEdit* m_code = nullptr;
    QLineEdit* m_name = nullptr;
    QProgressBar* m_progress = nullptr;
    QPushButton* m_import = nullptr;
    QPushButton* m_cancel = nullptr;
    QTimer* m_poll = nullptr;
    QThread* m_worker = nullptr;
    std::atomic<bool> m_cancelWanted{false};
    std::atomic<int> m_permille{0};
    BibleReadResult m_result;
};

} // namespace lumora::import
