#pragma once
// The data-folder chooser, shown instead of the main window when no usable folder is known.
// A valid choice is written to the path file; it takes effect at the next start.

#include "session/datapath.h"

#include <QDialog>

class QComboBox;
class QFileSystemModel;
class QLabel;
class QLineEdit;
class QPushButton;
class QTreeView;

namespace lumora::app {

class FrmDataPath final : public QDialog {
    Q_OBJECT
  public:
    explicit FrmDataPath(session::DataPathLocations where, QWidget* parent = nullptr);

    QComboBox* DrvList = nullptr;
    QTreeView* DirList = nullptr;
    QLineEdit* DataPath = nullptr;
    QLabel* Label1 = nullptr;
    QPushButton* Cmd_ValidDataPath = nullptr;
    QPushButton* Cmd_Annule = nullptr;
    QPushButton* Cmd_Demo = nullptr;

    void onValidate();
    // Builds the demo data (Bibles, recordings, hymn books) in the folder shown, as
    // `lumora-cli demo` does, and takes it as the data folder.
    void onBuildDemo();

  private:
    void onDriveChanged(int index);
    void onPathChanged(const QString& text);
    void showMessage(const QString& text, bool isError);
    // Writes `folder` into the path file and asks for a restart.
    void useFolder(const QString& folder);

    session::DataPathLocations m_where;
    QFileSystemModel* m_model = nullptr;
    bool m_showsError = false;
};

} // namespace lumora::app
