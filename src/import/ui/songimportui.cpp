#include "import/ui/songimportui.h"

#include "hymns/hymnstore.h"

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMap>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace lumora::import {

namespace {

// The hourglass while an export runs, restored however it ends.
class WaitCursor final {
  public:
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

// A report of at most `max` lines, the rest counted.
QString capped(const QStringList& lines, int max = 25) {
    if (lines.size() <= max) return lines.join(QLatin1Char('\n'));
    return (lines.mid(0, max) + QStringList{QStringLiteral("… and %1 more").arg(lines.size() - max)})
        .join(QLatin1Char('\n'));
}

} // namespace

QString songCountText(const std::vector<std::optional<SongFormat>>& formats) {
    QMap<QString, int> perFormat;
    int songs = 0, others = 0;
    for (const auto& f : formats) {
        if (!f) {
            ++others;
            continue;
        }
        ++songs;
        ++perFormat[songFormatName(*f)];
    }
    QStringList parts;
    for (auto it = perFormat.cbegin(); it != perFormat.cend(); ++it)
        parts << QStringLiteral("%1 %2").arg(it.key()).arg(it.value());
    QString text = songs == 1 ? QStringLiteral("1 song") : QStringLiteral("%1 songs").arg(songs);
    if (!parts.isEmpty()) text += QStringLiteral(": ") + parts.join(QStringLiteral(", "));
    if (others == 1) text += QStringLiteral("; 1 file is not a song");
    if (others > 1) text += QStringLiteral("; %1 files are not songs").arg(others);
    return text;
}

SongImportUi::SongImportUi(const session::Session& session, platform::CommonDialog& dialogs,
                           platform::Prompts& prompts, QWidget* window, QObject* parent)
    : QObject(parent), m_session(session), m_dialogs(dialogs), m_prompts(prompts), m_window(window),
      m_timer(new QTimer(this)) {
    m_timer->setInterval(0);
    connect(m_timer, &QTimer::timeout, this, &SongImportUi::step);
}

SongImportUi::~SongImportUi() {
    if (m_run) m_run->abandon();
}

void SongImportUi::addSongs(const QString& currentBook) {
    if (m_preview) {
        m_preview->raise();
        return;
    }
    const auto files = m_dialogs.openFiles(
        {QStringLiteral("Add songs…"),
         {},
         {},
         QStringLiteral(
             "Songs (*.xml;*.cho;*.chordpro;*.chopro;*.crd;*.pro;*.txt;*.zip)|*.xml;*.cho;*.chordpro;"
             "*.chopro;*.crd;*.pro;*.txt;*.zip|All files (*.*)|*.*")});
    if (!files || files->isEmpty()) return;
    m_collectProblems.clear();
    m_inputs = collectSongInputs(*files, &m_collectProblems);
    buildPreview(currentBook);
}

void SongImportUi::buildPreview(const QString& currentBook) {
    std::vector<std::optional<SongFormat>> formats;
    for (const SongInput& input : m_inputs) {
        const auto bytes = readSongInput(input);
        formats.push_back(
            bytes ? detectSongFormat(input.zipEntry.isEmpty() ? input.path : input.zipEntry, *bytes)
                  : std::nullopt);
    }
    m_preview = new QDialog(m_window);
    m_preview->setObjectName(QStringLiteral("Frm_AddSongs"));
    m_preview->setWindowTitle(QStringLiteral("Add songs…"));
    m_preview->setAttribute(Qt::WA_DeleteOnClose);
    Lbl_SongCount = new QLabel(songCountText(formats), m_preview);
    Lbl_SongCount->setObjectName(QStringLiteral("Lbl_SongCount"));
    ComboBox_TargetBook = new QComboBox(m_preview);
    ComboBox_TargetBook->setObjectName(QStringLiteral("ComboBox_TargetBook"));
    ComboBox_TargetBook->setEditable(true);
    ComboBox_TargetBook->addItems(hymns::LoadHymnBooks(hymns::cantiquesFolder(m_session.DataPath)));
    ComboBox_TargetBook->setCurrentText(currentBook);
    Text_Theme = new QLineEdit(m_preview);
    Text_Theme->setObjectName(QStringLiteral("Text_Theme"));
    Text_Theme->setPlaceholderText(QStringLiteral("the songs' own"));
    Text_SubTheme = new QLineEdit(m_preview);
    Text_SubTheme->setObjectName(QStringLiteral("Text_SubTheme"));
    Text_SubTheme->setPlaceholderText(QStringLiteral("the songs' own"));
    ProgressBar_Import = new QProgressBar(m_preview);
    ProgressBar_Import->setObjectName(QStringLiteral("ProgressBar_Import"));
    ProgressBar_Import->setRange(0, static_cast<int>(m_inputs.size()));
    ProgressBar_Import->setValue(0);
    auto* buttons = new QDialogButtonBox(m_preview);
    Cmd_Import = buttons->addButton(QStringLiteral("Import"), QDialogButtonBox::AcceptRole);
    Cmd_Import->setObjectName(QStringLiteral("Cmd_Import"));
    Cmd_Import->setEnabled(!m_inputs.empty());
    QPushButton* cancel = buttons->addButton(QDialogButtonBox::Cancel);
    cancel->setObjectName(QStringLiteral("Cmd_Cancel"));
    connect(Cmd_Import, &QPushButton::clicked, this, &SongImportUi::startImport);
    connect(cancel, &QPushButton::clicked, this, &SongImportUi::cancel);
    connect(m_preview, &QDialog::rejected, this, &SongImportUi::cancel);

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Hymn book"), ComboBox_TargetBook);
    form->addRow(QStringLiteral("Theme"), Text_Theme);
    form->addRow(QStringLiteral("Sub-theme"), Text_SubTheme);
    auto* column = new QVBoxLayout(m_preview);
    column->addWidget(Lbl_SongCount);
    column->addLayout(form);
    column->addWidget(ProgressBar_Import);
    column->addWidget(buttons);
    m_preview->setMinimumWidth(420);
    m_preview->open();
}

void SongImportUi::startImport() {
    if (m_run || !m_preview) return;
    const QString cantiques = hymns::cantiquesFolder(m_session.DataPath);
    QDir().mkpath(cantiques);
    QString why;
    m_run = SongImport::open(cantiques, ComboBox_TargetBook->currentText().trimmed(),
                             {Text_Theme->text(), Text_SubTheme->text()}, &why);
    if (!m_run) {
        m_prompts.tell(why, platform::kAppTitle, platform::PromptIcon::Exclamation);
        return;
    }
    for (QWidget* w : {static_cast<QWidget*>(ComboBox_TargetBook), static_cast<QWidget*>(Text_Theme),
                       static_cast<QWidget*>(Text_SubTheme), static_cast<QWidget*>(Cmd_Import)})
        w->setEnabled(false);
    m_next = 0;
    m_timer->start();
}

// A few songs per tick, so the window keeps answering and the bar moves.
void SongImportUi::step() {
    QElapsedTimer clock;
    clock.start();
    while (m_run && m_next < m_inputs.size() && clock.elapsed() < 40)
        m_run->add(m_inputs[m_next++]);
    if (ProgressBar_Import) ProgressBar_Import->setValue(static_cast<int>(m_next));
    if (m_next >= m_inputs.size()) finishImport();
}

void SongImportUi::finishImport() {
    m_timer->stop();
    if (!m_run) return;
    SongImport run = std::move(*m_run);
    m_run.reset();
    QString why;
    const bool written = run.finish(&why);
    QStringList problems;
    for (const ImportProblem& p : m_collectProblems)
        problems << p.toText();
    for (const ImportProblem& p : run.problems())
        problems << p.toText();
    QStringList report;
    if (!written) {
        report << QStringLiteral("Nothing was imported: %1").arg(why);
    } else {
        report << QStringLiteral("%1 songs added to \"%2\".").arg(run.imported().size()).arg(run.book());
        QStringList changes;
        for (const ImportedSong& s : run.imported())
            for (const QString& c : s.hymn.changes)
                changes << s.hymn.label + QStringLiteral(": ") + c;
        if (!changes.isEmpty()) report << QString() << capped(changes);
    }
    if (!problems.isEmpty()) report << QString() << QStringLiteral("Not imported:") << capped(problems);
    if (m_preview) {
        disconnect(m_preview, &QDialog::rejected, this, &SongImportUi::cancel);
        m_preview->close();
    }
    m_prompts.tell(report.join(QLatin1Char('\n')), platform::kAppTitle,
                   written && problems.isEmpty() ? platform::PromptIcon::Information
                                                 : platform::PromptIcon::Exclamation);
    if (written && !run.imported().empty()) emit songsImported(run.book(), run.imported().front().hymn.entry);
}

void SongImportUi::cancel() {
    m_timer->stop();
    if (m_run) m_run->abandon();
    m_run.reset();
    if (m_preview) {
        disconnect(m_preview, &QDialog::rejected, this, &SongImportUi::cancel);
        m_preview->close();
    }
}

void SongImportUi::exportBook(const QString& book) {
    if (book.isEmpty()) return;
    const auto folder = m_dialogs.chooseFolder({QStringLiteral("Export hymn book…"), {}, {}, {}});
    if (!folder) return;
    ExportResult result;
    {
        WaitCursor wait;
        result = exportHymnBook(hymns::cantiquesFolder(m_session.DataPath), book, *folder);
    }
    QStringList report{QStringLiteral("%1 hymns of \"%2\" exported to %3.")
                           .arg(result.written.size())
                           .arg(book, QDir::toNativeSeparators(*folder))};
    QStringList problems;
    for (const ImportProblem& p : result.problems)
        problems << p.toText();
    if (!problems.isEmpty()) report << QString() << capped(problems);
    m_prompts.tell(report.join(QLatin1Char('\n')), platform::kAppTitle,
                   problems.isEmpty() ? platform::PromptIcon::Information
                                      : platform::PromptIcon::Exclamation);
}

} // namespace lumora::import
