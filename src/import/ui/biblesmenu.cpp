#include "import/ui/biblesmenu.h"

#include "common/lines.h"
#include "common/paths.h"
#include "common/text.h"
#include "import/bibleimport.h"
#include "import/ui/addbibledialog.h"
#include "import/versionwriter.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMenu>

namespace lumora::import {

BiblesMenu::BiblesMenu(const session::Session& session, platform::CommonDialog& dialogs,
                       platform::Prompts& prompts, QWidget* window, QObject* parent)
    : QObject(parent), m_session(session), m_dialogs(dialogs), m_prompts(prompts), m_window(window),
      m_menu(new QMenu(QStringLiteral("Bibles"), window)) {
    m_menu->setObjectName(QStringLiteral("Menu_Bibles"));
    QAction* add = m_menu->addAction(QStringLiteral("Add a Bible…"), this, &BiblesMenu::onAddBible);
    add->setObjectName(QStringLiteral("Menu_AddBible"));
    QAction* remove =
        m_menu->addAction(QStringLiteral("Remove a version…"), this, &BiblesMenu::onRemoveVersion);
    remove->setObjectName(QStringLiteral("Menu_RemoveVersion"));
}

QString BiblesMenu::sourceFor(const QString& picked) {
    const QFileInfo info(picked);
    if (!info.isFile()) return picked;
    QFile f(picked);
    if (!f.open(QIODevice::ReadOnly)) return picked;
    const auto format = guessBibleFormat(f.read(64 * 1024));
    if (format != BibleFormat::Usfm && format != BibleFormat::Usx) return picked;
    int books = 0;
    const QDir dir = info.dir();
    for (const QString& name : dir.entryList(QDir::Files, QDir::Name)) {
        QFile other(dir.filePath(name));
        if (other.open(QIODevice::ReadOnly) && guessBibleFormat(other.read(64 * 1024)) == format) ++books;
    }
    return books > 1 ? dir.path() : picked;
}

void BiblesMenu::onAddBible() {
    const auto picked = m_dialogs.openFile(
        {QStringLiteral("Add a Bible"), QString(), QString(),
         QStringLiteral("Bibles (*.xml *.zip *.usfm *.sfm *.usx *.txt)|*.xml;*.zip;*.usfm;*.sfm;*.usx;*.txt|"
                        "All files (*)|*")});
    if (!picked) return;
    auto* dialog = new AddBibleDialog(m_session.DataPath, sourceFor(*picked), m_window);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    connect(dialog, &AddBibleDialog::versionAdded, this, &BiblesMenu::versionsChanged);
    dialog->start();
    emit dialogOpened(dialog);
    dialog->open();
}

void BiblesMenu::onRemoveVersion() {
    // The version's line as Version.txt gives it: "KJV - King James Version".
    QString entry;
    const auto list = common::readWholeFile(
        common::findPath(m_session.DataPath, {QStringLiteral("Bible"), QStringLiteral("Version.txt")}));
    for (QByteArray line : list.value_or(QByteArray()).split('\n')) {
        line = line.trimmed();
        if (common::startsWithBom(line)) line = line.mid(3);
        const auto code = common::VersionCode(line);
        if (code && !m_shownVersion.isEmpty() && code->toUpper() == m_shownVersion.toUpper()) {
            entry = QString::fromUtf8(line);
            break;
        }
    }
    if (entry.isEmpty()) {
        m_prompts.tell(QStringLiteral("Choose the version to remove in the version list first."));
        return;
    }
    const QString text =
        QStringLiteral("Remove \"%1\" from the version list?\n\nIts folder is kept beside the others under "
                       "another name, so it can be brought back.")
            .arg(entry);
    if (m_prompts.ask(text, QStringLiteral("Remove a version"), platform::PromptButtons::YesNo,
                      platform::PromptIcon::Question) != platform::PromptAnswer::Yes)
        return;
    const QString error = removeVersion(m_session.DataPath, m_shownVersion);
    if (!error.isEmpty()) {
        m_prompts.tell(error, QStringLiteral("Remove a version"), platform::PromptIcon::Exclamation);
        return;
    }
    emit versionsChanged();
}

} // namespace lumora::import
