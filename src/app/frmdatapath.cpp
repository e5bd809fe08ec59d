#include "app/frmdatapath.h"

#include "app/accessibility.h"
#include "import/demobuilder.h"
#include "platform/waitcursor.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFileSystemModel>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStorageInfo>
#include <QTreeView>
#include <QVBoxLayout>

namespace lumora::app {

namespace {
// Rich-text tips, so that a long tip wraps instead of running off the screen.
QString tip(const QString& text) {
    return QStringLiteral("<p>") + text.toHtmlEscaped() + QStringLiteral("</p>");
}

const QString kFolderTip = tip(QStringLiteral(
    "The Lumora data folder: the folder that holds a \"Bible\" folder with Version.txt in it "
    "(and \"Cantiques\" for the hymn books). \"lumora-cli demo\" fills the folder shown here."));
} // namespace

FrmDataPath::FrmDataPath(session::DataPathLocations where, QWidget* parent)
    : QDialog(parent), m_where(std::move(where)) {
    setObjectName(QStringLiteral("frmDataPath"));
    setWindowTitle(QStringLiteral("Data Path"));
    setWindowFlag(Qt::WindowStaysOnTopHint);
    setAttribute(Qt::WA_DeleteOnClose);

    DrvList = new QComboBox(this);
    DrvList->setObjectName(QStringLiteral("DrvList"));
    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) {
        if (volume.isValid() && volume.isReady()) DrvList->addItem(volume.rootPath());
    }
    if (DrvList->findText(QDir::homePath()) < 0) DrvList->addItem(QDir::homePath());

    m_model = new QFileSystemModel(this);
    m_model->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot);
    m_model->setRootPath(QDir::rootPath());
    DirList = new QTreeView(this);
    DirList->setObjectName(QStringLiteral("DirList"));
    DirList->setModel(m_model);
    for (int c = 1; c < m_model->columnCount(); ++c)
        DirList->hideColumn(c);
    DirList->header()->hide();
    DirList->setToolTip(
        tip(QStringLiteral("Choose the Lumora data folder: the folder that holds the \"Bible\" folder "
                           "(with Version.txt), not the \"Bible\" folder itself.")));

    // The platform's own default data folder, where `lumora-cli demo` writes.
    DataPath = new QLineEdit(QDir::toNativeSeparators(m_where.defaultFolder), this);
    DataPath->setObjectName(QStringLiteral("DataPath"));
    DataPath->setToolTip(kFolderTip);
    DrvList->setToolTip(tip(QStringLiteral("The drive or volume that holds the Lumora data folder.")));
    Label1 = new QLabel(this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setWordWrap(true);
    Cmd_ValidDataPath = new QPushButton(QStringLiteral("VALIDER"), this);
    Cmd_ValidDataPath->setObjectName(QStringLiteral("Cmd_ValidDataPath"));
    Cmd_Annule = new QPushButton(QStringLiteral("ANNULER"), this);
    Cmd_Annule->setObjectName(QStringLiteral("Cmd_Annule"));
    Cmd_ValidDataPath->setToolTip(
        tip(QStringLiteral("Use this folder; then close this window and start Lumora again.")));
    Cmd_Annule->setToolTip(tip(QStringLiteral("Close without changing the data folder.")));
    Cmd_Demo = new QPushButton(QStringLiteral("Build the demo here"), this);
    Cmd_Demo->setObjectName(QStringLiteral("Cmd_Demo"));
    Cmd_Demo->setToolTip(tip(QStringLiteral(
        "No data yet? Build a demo data folder in the folder shown (it must be new or empty): three Bibles, "
        "read-aloud chapters with their reading marks, two hymn books, a verse list and a playlist. It "
        "becomes the data folder.")));

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(DrvList);
    layout->addWidget(DirList, 1);
    layout->addWidget(DataPath);
    layout->addWidget(Label1);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(Cmd_ValidDataPath);
    buttons->addWidget(Cmd_Demo);
    buttons->addWidget(Cmd_Annule);
    layout->addLayout(buttons);
    resize(460, 420);

    connect(DrvList, &QComboBox::currentIndexChanged, this, &FrmDataPath::onDriveChanged);
    // Tab through the folders makes the first one current without the user choosing it (there is
    // no previous one then): the folder shown stays until the user moves in the list.
    connect(DirList->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current, const QModelIndex& previous) {
                if (previous.isValid() || DirList->selectionModel()->isSelected(current))
                    DataPath->setText(QDir::toNativeSeparators(m_model->filePath(current)));
            });
    // The buttons in the order they stand.
    setTabOrder(Cmd_ValidDataPath, Cmd_Demo);
    setTabOrder(Cmd_Demo, Cmd_Annule);
    connect(DataPath, &QLineEdit::textChanged, this, &FrmDataPath::onPathChanged);
    connect(Cmd_ValidDataPath, &QPushButton::clicked, this, &FrmDataPath::onValidate);
    connect(Cmd_Annule, &QPushButton::clicked, this, &QDialog::close);
    connect(Cmd_Demo, &QPushButton::clicked, this, &FrmDataPath::onBuildDemo);
    onDriveChanged(DrvList->currentIndex());
    // A keyboard user sees where the focus is (the style's own mark on a button is faint).
    showFocusRing(this);
}

void FrmDataPath::onDriveChanged(int index) {
    if (index < 0) return;
    const QString root = DrvList->itemText(index);
    if (!QDir(root).isReadable()) {
        // Back to the drive of the folder on display.
        const QString shown = m_model->filePath(DirList->rootIndex());
        const int back = DrvList->findText(QStorageInfo(shown).rootPath());
        if (back >= 0 && back != index) DrvList->setCurrentIndex(back);
        return;
    }
    DirList->setRootIndex(m_model->index(root));
}

void FrmDataPath::onPathChanged(const QString& text) {
    // An old "incorrect path" must not stand beside a folder that is now usable.
    if (m_showsError && session::isUsableDataFolder(QDir::fromNativeSeparators(text))) {
        Label1->clear();
        Label1->setStyleSheet(QString());
        m_showsError = false;
    }
}

void FrmDataPath::showMessage(const QString& text, bool isError) {
    Label1->setText(text);
    m_showsError = isError;
    // The error and the restart notice must not be mistaken for each other.
    Label1->setStyleSheet(isError ? QStringLiteral("color: #b00020; font-weight: bold;")
                                  : QStringLiteral("color: #1b5e20; font-weight: bold;"));
}

void FrmDataPath::onValidate() {
    const QString chosen = QDir::fromNativeSeparators(DataPath->text());
    if (!session::isUsableDataFolder(chosen)) {
        showMessage(QStringLiteral("Chemin d'accès incorrect (INCORRECT PATH)"), true);
        return;
    }
    useFolder(chosen);
}

void FrmDataPath::useFolder(const QString& folder) {
    session::StoreDataPath(m_where, folder);
    Cmd_ValidDataPath->setEnabled(false);
    Cmd_Demo->setEnabled(false);
    Cmd_Annule->setEnabled(false);
    showMessage(QStringLiteral("Relancer Lumora (CLOSE and REBOOT)"), false);
}

void FrmDataPath::onBuildDemo() {
    const QString folder = QDir::fromNativeSeparators(DataPath->text().trimmed());
    if (folder.isEmpty()) {
        showMessage(QStringLiteral("Chemin d'accès incorrect (INCORRECT PATH)"), true);
        return;
    }
    import::DemoOptions options;
    options.folder = folder;
    options.versions = import::defaultDemoVersions();
    options.pathFile = m_where.pathFile; // made when there is none yet; an existing one is set below
    options.progress = [this](const QString& line) {
        showMessage(line, false);
        QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    };
    setEnabled(false);
    import::DemoResult result;
    {
        const platform::WaitCursor hourglass;
        result = import::buildDemo(options);
    }
    setEnabled(true);
    if (!result.ok || !session::isUsableDataFolder(folder)) {
        showMessage(QStringLiteral("The demo could not be built there: %1")
                        .arg(result.error.isEmpty() ? QStringLiteral("no Bible came out") : result.error),
                    true);
        return;
    }
    useFolder(folder);
}

} // namespace lumora::app
