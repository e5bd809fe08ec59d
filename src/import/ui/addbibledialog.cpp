#include "import/ui/addbibledialog.h"

#include "import/versionwriter.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QFileInfo>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QThread>
#include <QTimer>
#include <QVBoxLayout>

namespace lumora::import {

namespace {
// John 3:16 when the Bible has it, else its first verse with text: "John 3:16 For God so loved…".
QString sampleVerse(const ImportedBible& bible) {
    auto show = [](const ImportedBook& b, std::size_t c, std::size_t v) {
        return QStringLiteral("%1 %2:%3 %4")
            .arg(QString::fromUtf8(b.name))
            .arg(c + 1)
            .arg(v + 1)
            .arg(QString::fromUtf8(b.chapters[c][v].text));
    };
    if (const ImportedBook* john = bible.findBook(43); john && john->chapters.size() >= 3 &&
                                                       john->chapters[2].size() >= 16 &&
                                                       !john->chapters[2][15].text.isEmpty())
        return show(*john, 2, 15);
    for (const auto& b : bible.books)
        for (std::size_t c = 0; c < b.chapters.size(); ++c)
            for (std::size_t v = 0; v < b.chapters[c].size(); ++v)
                if (!b.chapters[c][v].text.isEmpty()) return show(b, c, v);
    return {};
}
} // namespace

AddBibleDialog::AddBibleDialog(const QString& dataFolder, const QString& path, QWidget* parent)
    : QDialog(parent), m_dataFolder(dataFolder), m_path(path) {
    setObjectName(QStringLiteral("AddBibleDialog"));
    setWindowTitle(QStringLiteral("Add a Bible"));
    auto* layout = new QVBoxLayout(this);
    auto* file = new QLabel(QDir::toNativeSeparators(path), this);
    file->setObjectName(QStringLiteral("Lbl_File"));
    m_what = new QLabel(QStringLiteral("Reading…"), this);
    m_what->setObjectName(QStringLiteral("Lbl_Found"));
    m_sample = new QLabel(this);
    m_sample->setObjectName(QStringLiteral("Lbl_Sample"));
    m_sample->setWordWrap(true);
    m_progress = new QProgressBar(this);
    m_progress->setObjectName(QStringLiteral("Progress_Import"));
    m_progress->setRange(0, 1000);
    auto* form = new QFormLayout;
    m_code = new QLineEdit(this);
    m_code->setObjectName(QStringLiteral("Text_Code"));
    m_code->setMaxLength(16);
    m_name = new QLineEdit(this);
    m_name->setObjectName(QStringLiteral("Text_Name"));
    form->addRow(QStringLiteral("Code"), m_code);
    form->addRow(QStringLiteral("Name"), m_name);
    m_message = new QLabel(this);
    m_message->setObjectName(QStringLiteral("Lbl_Message"));
    m_message->setWordWrap(true);
    auto* buttons = new QDialogButtonBox(this);
    m_import = buttons->addButton(QStringLiteral("Import"), QDialogButtonBox::AcceptRole);
    m_import->setObjectName(QStringLiteral("Cmd_Import"));
    m_cancel = buttons->addButton(QStringLiteral("Cancel"), QDialogButtonBox::RejectRole);
    m_cancel->setObjectName(QStringLiteral("Cmd_Cancel"));
    for (QWidget* w : {static_cast<QWidget*>(file), static_cast<QWidget*>(m_what),
                       static_cast<QWidget*>(m_sample), static_cast<QWidget*>(m_progress)})
        layout->addWidget(w);
    layout->addLayout(form);
    layout->addWidget(m_message);
    layout->addWidget(buttons);
    m_import->setEnabled(false);
    m_code->setEnabled(false);
    m_name->setEnabled(false);
    connect(m_import, &QPushButton::clicked, this, &AddBibleDialog::onImport);
    connect(m_cancel, &QPushButton::clicked, this, &AddBibleDialog::onCancel);
    connect(m_code, &QLineEdit::textChanged, this, &AddBibleDialog::onFieldsEdited);
    connect(m_name, &QLineEdit::textChanged, this, &AddBibleDialog::onFieldsEdited);
    m_poll = new QTimer(this);
    m_poll->setInterval(100);
    connect(m_poll, &QTimer::timeout, this, [this] { m_progress->setValue(m_permille.load()); });
    resize(560, 320);
}

AddBibleDialog::~AddBibleDialog() {
    if (m_worker) {
        m_cancelWanted = true;
        m_worker->wait();
    }
}

void AddBibleDialog::start() {
    if (m_worker) return;
    m_cancelWanted = false;
    m_worker = QThread::create([this] {
        BibleSource source = openBibleSource(m_path);
        BibleReadResult result;
        const auto format = guessBibleFormat(source);
        if (source.error) {
            result.error = source.error;
        } else if (!format) {
            result.error =
                ReadProblem{m_path, 0, 0,
                            QStringLiteral("this is not a Bible file Lumora can read (OSIS, Zefania, "
                                           "USFM, USX, OpenSong or Unbound)")};
        } else {
            ReadOptions options;
            options.progress = [this](qint64 done, qint64 total) {
                if (total > 0) m_permille = static_cast<int>(done * 1000 / total);
                return !m_cancelWanted.load();
            };
            result = readBible(source, *format, options);
        }
        m_result = std::move(result);
    });
    connect(m_worker, &QThread::finished, this, &AddBibleDialog::onReadDone, Qt::QueuedConnection);
    m_poll->start();
    m_worker->start();
}

void AddBibleDialog::onReadDone() {
    m_poll->stop();
    m_worker->wait();
    delete m_worker;
    m_worker = nullptr;
    if (m_cancelWanted) {
        reject();
        emit readFinished();
        return;
    }
    m_progress->setValue(1000);
    showPreview();
    emit readFinished();
}

void AddBibleDialog::showPreview() {
    if (!m_result.bible) {
        m_what->setText(QStringLiteral("Nothing can be imported from this file."));
        m_message->setText(m_result.error ? m_result.error->text() : QString());
        return;
    }
    const ReadCounts& c = m_result.counts;
    QString what = formatTitle(m_result.format);
    if (!m_result.language.isEmpty())
        what += QStringLiteral(", language ") + QString::fromUtf8(m_result.language);
    what += QStringLiteral(": %1 books, %2 chapters, %3 verses").arg(c.books).arg(c.chapters).arg(c.verses);
    if (c.emptyVerses > 0) what += QStringLiteral(" (%1 empty)").arg(c.emptyVerses);
    m_what->setText(what);
    m_sample->setText(sampleVerse(*m_result.bible));
    m_code->setEnabled(true);
    m_name->setEnabled(true);
    m_name->setText(QString::fromUtf8(m_result.title));
    onFieldsEdited();
    m_code->setFocus();
}

void AddBibleDialog::onFieldsEdited() {
    if (!m_result.bible) return;
    const QByteArray code = m_code->text().toUtf8();
    const QByteArray name = m_name->text().toUtf8();
    QString problem;
    if (code.isEmpty() || name.trimmed().isEmpty())
        problem = QStringLiteral("Give the version a code and a name.");
    else if (!isUsableVersionCode(code))
        problem = QStringLiteral("The code must be 1 to 16 letters, digits or _.");
    else if (!isUsableVersionName(name))
        problem = QStringLiteral("The name must not hold line breaks, tabs or other control characters.");
    else if (versionExists(m_dataFolder, code))
        problem = QStringLiteral("Version %1 already exists.").arg(m_code->text());
    m_message->setText(problem);
    m_import->setEnabled(problem.isEmpty());
}

void AddBibleDialog::onImport() {
    if (!m_result.bible || !m_import->isEnabled()) return;
    const QByteArray code = m_code->text().toUtf8();
    const QString error = writeVersion(m_dataFolder, code, m_name->text().toUtf8(), *m_result.bible);
    if (!error.isEmpty()) {
        m_message->setText(error);
        return;
    }
    emit versionAdded(code);
    accept();
}

void AddBibleDialog::onCancel() {
    if (m_worker) {
        m_cancelWanted = true; // the read stops at its next progress report; onReadDone closes
        m_cancel->setEnabled(false);
        return;
    }
    reject();
}

} // namespace lumora::import
