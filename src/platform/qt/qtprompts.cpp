#include "platform/qt/qtprompts.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QMessageBox>
#include <QMimeDatabase>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>

namespace lumora::platform {

PromptAnswer QtPrompts::ask(const QString& text, const QString& title, PromptButtons buttons,
                            PromptIcon icon) {
    QMessageBox box(m_owner);
    box.setText(text);
    box.setWindowTitle(title);
    switch (icon) {
    case PromptIcon::None:
        box.setIcon(QMessageBox::NoIcon);
        break;
    case PromptIcon::Information:
        box.setIcon(QMessageBox::Information);
        break;
    case PromptIcon::Exclamation:
        box.setIcon(QMessageBox::Warning);
        break;
    case PromptIcon::Question:
        box.setIcon(QMessageBox::Question);
        break;
    case PromptIcon::Critical:
        box.setIcon(QMessageBox::Critical);
        break;
    }
    switch (buttons) {
    case PromptButtons::Ok:
        box.setStandardButtons(QMessageBox::Ok);
        break;
    case PromptButtons::OkCancel:
        box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
        break;
    case PromptButtons::YesNo:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        break;
    case PromptButtons::YesNoCancel:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        box.setEscapeButton(QMessageBox::Cancel);
        break;
    }
    switch (box.exec()) {
    case QMessageBox::Cancel:
        return PromptAnswer::Cancel;
    case QMessageBox::Yes:
        return PromptAnswer::Yes;
    case QMessageBox::No:
        return PromptAnswer::No;
    default:
        // A box closed without a button: No for a question, Cancel where there is one.
        if (buttons == PromptButtons::YesNoCancel) return PromptAnswer::Cancel;
        return buttons == PromptButtons::YesNo ? PromptAnswer::No : PromptAnswer::Ok;
    }
}

ShellResult QtShell::open(const QString& path) {
    if (!QFileInfo::exists(path)) return ShellResult::NotFound;
    return QDesktopServices::openUrl(QUrl::fromLocalFile(path)) ? ShellResult::Opened : ShellResult::Failed;
}

ShellResult QtShell::openIn(const QString& directory, const QString& file) {
    const QString path = fileIn(directory, file);
    if (path.isEmpty()) return ShellResult::NotFound;
    const QString folder = directory.isEmpty() ? QDir::currentPath() : QDir(directory).absolutePath();
#ifndef Q_OS_WIN
    // The desktop's opener started in the folder: the program it hands the file to starts there
    // too, as slide shows and videos that name their neighbours expect.
    const QString opener = QStandardPaths::findExecutable(QStringLiteral("xdg-open"));
    if (!opener.isEmpty() && QProcess::startDetached(opener, {path}, folder)) return ShellResult::Opened;
#endif
    return QDesktopServices::openUrl(QUrl::fromLocalFile(path)) ? ShellResult::Opened : ShellResult::Failed;
}

bool QtShell::canOpen(const QString& path) {
    if (!QFileInfo(path).isFile()) return false;
#ifdef Q_OS_WIN
    return true; // the shell itself says so when asked to open
#else
    // The desktop's default program for the file's type, as xdg-open will look it up.
    const QString mime = QStandardPaths::findExecutable(QStringLiteral("xdg-mime"));
    if (mime.isEmpty()) return false;
    QProcess query;
    query.start(mime, {QStringLiteral("query"), QStringLiteral("default"),
                       QMimeDatabase().mimeTypeForFile(path).name()});
    if (!query.waitForFinished(3000)) {
        query.kill();
        query.waitForFinished(1000);
        return false;
    }
    return query.exitCode() == 0 && !query.readAllStandardOutput().trimmed().isEmpty();
#endif
}

bool QtShell::startProgram(const QString& program, const QStringList& args) {
    return QProcess::startDetached(program, args, QFileInfo(program).absolutePath());
}

} // namespace lumora::platform
