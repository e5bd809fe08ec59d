#include "output/ui/outputactions.h"

#include "common/text.h"
#include "hymns/hymnentry.h"
#include "output/ui/printing.h"
#include "platform/rtfdocument.h"
#include "platform/waitcursor.h"

#include <QApplication>
#include <QEvent>
#include <QFont>
#include <QHBoxLayout>
#include <QStyle>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>
#include <QTimer>
#include <QToolButton>

namespace lumora::output {

namespace {

QToolButton* picture(QWidget* parent, const char* name, const QIcon& icon, const QString& tip) {
    auto* b = new QToolButton(parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setIcon(icon);
    b->setToolTip(tip);
    b->setAccessibleName(tip.trimmed());
    b->setAutoRaise(true);
    return b;
}

QWidget* pair(QWidget* page, QToolButton*& print, const char* printName, QToolButton*& save,
              const char* saveName) {
    auto* box = new QWidget(page);
    auto* row = new QHBoxLayout(box);
    row->setContentsMargins(0, 0, 0, 0);
    const QIcon printIcon = QIcon::fromTheme(QStringLiteral("document-print"),
                                             box->style()->standardIcon(QStyle::SP_FileDialogContentsView));
    const QIcon saveIcon = QIcon::fromTheme(QStringLiteral("document-save-as"),
                                            box->style()->standardIcon(QStyle::SP_DialogSaveButton));
    print = picture(box, printName, printIcon, QStringLiteral(" Print "));
    save = picture(box, saveName, saveIcon, QStringLiteral(" Save as "));
    row->addWidget(print);
    row->addWidget(save);
    return box;
}

} // namespace

OutputActions::OutputActions(const session::Session& session, platform::RichTextBox& passageBox,
                             platform::RichTextBox& hymnBox, OutputServices services, QWidget* biblePage,
                             QWidget* canticlePage, QObject* parent)
    : QObject(parent), m_session(session), m_passageBox(passageBox), m_hymnBox(hymnBox),
      m_services(services) {
    m_bibleButtons = pair(biblePage, Image_Print, "Image_Print", Image_SaveAs, "Image_SaveAs");
    m_canticleButtons =
        pair(canticlePage, Print_Cantique, "Print_Cantique", SaveAs_Cantique, "SaveAs_Cantique");
    connect(Image_Print, &QToolButton::clicked, this, [this] { print(m_passageBox); });
    connect(Print_Cantique, &QToolButton::clicked, this, [this] { print(m_hymnBox); });
    connect(Image_SaveAs, &QToolButton::clicked, this,
            [this] { save(passageFileName(m_heading, m_versionCode)); });
    connect(SaveAs_Cantique, &QToolButton::clicked, this, [this] { save(m_hymnLabel); });
    QTextEdit* passageEdit = m_passageBox.edit();
    passageEdit->installEventFilter(this);
    passageEdit->viewport()->installEventFilter(this);
    connect(passageEdit, &QTextEdit::selectionChanged, this,
            [this] { m_handSelection = m_userInput && m_passageBox.selectionLength() != 0; });
}

bool OutputActions::eventFilter(QObject* watched, QEvent* event) {
    // Seen before the box handles the event: a selection it changes while handling it is the
    // user's. The mark is lifted once the event is done.
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::KeyPress:
        if (!m_userInput) {
            m_userInput = true;
            QTimer::singleShot(0, this, [this] { m_userInput = false; });
        }
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

void OutputActions::onPassageShown(const bible::Passage& passage) {
    m_heading = passage.heading;
    // The header's first line is the List_version entry the passage was built from.
    const QString entry = passage.PassageHeader.section(QStringLiteral("\r\n"), 0, 0);
    m_versionCode = common::VersionCode(entry).value_or(QString());
    m_versionEntry = entry;
}

void OutputActions::onHymnShown(const QString& entry) {
    // A cleared display proposes no name of the hymn shown before, nor its words folder.
    m_hymnLabel.clear();
    m_hymnBook.clear();
    if (entry.isEmpty()) return;
    if (const auto fields = hymns::SplitHymnEntry(entry)) {
        m_hymnLabel = common::Utf8Decode(fields->label);
        m_hymnBook = common::Utf8Decode(fields->book);
    } else {
        m_hymnLabel = entry.section(QLatin1Char('\t'), 0, 0);
    }
}

void OutputActions::onTabChanged(int tab) {
    m_tab = tab;
}

void OutputActions::print(platform::RichTextBox& box) {
    const bool passage = &box == &m_passageBox;
    platform::PrintRequest request;
    // The verse lit by the following, or a word found by a search, is no range to print: the
    // dialog used to preselect it and printed "3.16" alone.
    request.selectionOffered = box.selectionLength() != 0 && (!passage || m_handSelection);
    const auto render = [&](QPagedPaintDevice& device, const platform::PrintSettings& settings) {
        const std::unique_ptr<QTextDocument> doc = box.realDocument(settings.selectionOnly);
        // A passage printed whole carries its version and reference, as the window shows them above
        // the box (unless the box shows them itself).
        if (passage && !settings.selectionOnly && !m_versionEntry.isEmpty() &&
            !doc->toPlainText().startsWith(m_versionEntry)) {
            QTextCursor top(doc.get());
            top.movePosition(QTextCursor::Start);
            QTextCharFormat bold = top.charFormat();
            bold.setFontWeight(QFont::Bold);
            top.insertText(m_versionEntry + QChar::LineSeparator + m_heading, bold);
            top.insertBlock();
            top.insertBlock();
        }
        return printDocument(*doc, device, settings.copies);
    };
    if (m_services.dialogs.print(request, render) != platform::PrintResult::Printed)
        m_services.prompts.tell(kPrintError);
}

QString OutputActions::AskSaveFileName(const QString& name) {
    platform::FileDialogRequest request;
    request.title = kSaveTitle;
    request.fileName = dialogFileName(name);
    request.folder =
        m_tab == 0 ? passageSaveFolder(m_session.DataPath) : hymnSaveFolder(m_session.DataPath, m_hymnBook);
    request.filter = kSaveFilter;
    return m_services.dialogs.saveFile(request).value_or(QString());
}

ShownText OutputActions::shownText() const {
    // The box's own content on both tabs: a word lit by a search and the paragraphs' direction
    // are saved with the text. For a passage left as shown it is what lumora-cli export writes.
    const platform::RichTextBox& box = m_tab == 0 ? m_passageBox : m_hymnBox;
    const std::unique_ptr<QTextDocument> doc = box.realDocument();
    ShownText out{QString(), platform::fromTextDocument(*doc)};
    out.plain = common::rtf::plainText(out.rich);
    return out;
}

bool OutputActions::SaveShownText(const QString& path) {
    // The file is replaced whole or not at all, so a failed write would leave the old file for the
    // shell to open as if it were the text just saved: it is told instead, and nothing is opened.
    QString why;
    bool written = false;
    if (isPlainTextName(path)) {
        written = output::SaveShownText(path, shownText(), &why);
    } else {
        const platform::WaitCursor hourglass;
        written = output::SaveShownText(path, shownText(), &why);
    }
    if (!written)
        m_services.prompts.tell(QStringLiteral("The text could not be saved to\r\n%1\r\n(%2)").arg(path, why),
                                platform::kAppTitle, platform::PromptIcon::Exclamation);
    return written;
}

void OutputActions::save(const QString& defaultName) {
    const QString path = AskSaveFileName(defaultName);
    if (path.isEmpty()) return;
    // The dialog does not ask before replacing a file; a hymn's own words are worth the question.
    if (isHymnWordsFile(m_session.DataPath, path) &&
        m_services.prompts.ask(QStringLiteral("%1\r\nholds the words of a hymn. Replace them with the text "
                                              "shown?")
                                   .arg(path),
                               kSaveTitle, platform::PromptButtons::YesNo,
                               platform::PromptIcon::Question) != platform::PromptAnswer::Yes)
        return;
    if (!SaveShownText(path)) return;
    if (m_services.shell.open(path) == platform::ShellResult::NotFound)
        m_services.prompts.tell(QStringLiteral("OK"));
}

} // namespace lumora::output
