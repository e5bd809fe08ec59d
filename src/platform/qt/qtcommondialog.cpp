#include "platform/qt/qtcommondialog.h"

#include <QDir>
#include <QFileDialog>
#include <QPrintDialog>
#include <QPrinter>

namespace lumora::platform {

namespace {

std::optional<QString> runFileDialog(QWidget* owner, const FileDialogRequest& request,
                                     QFileDialog::AcceptMode mode) {
    QFileDialog dialog(owner, request.title);
    dialog.setAcceptMode(mode);
    dialog.setFileMode(mode == QFileDialog::AcceptSave ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
    const QStringList filters = dialogFilters(request.filter);
    dialog.setNameFilters(filters);
    if (!filters.isEmpty()) dialog.selectNameFilter(filters.first());
    if (!request.folder.isEmpty() && QDir(request.folder).exists()) dialog.setDirectory(request.folder);
    if (!request.fileName.isEmpty()) dialog.selectFile(request.fileName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    QString chosen = dialog.selectedFiles().constFirst();
    if (mode == QFileDialog::AcceptSave) chosen = withFilterExtension(chosen, dialog.selectedNameFilter());
    return QDir::toNativeSeparators(chosen);
}

} // namespace

std::optional<QString> QtCommonDialog::openFile(const FileDialogRequest& request) {
    return runFileDialog(m_owner, request, QFileDialog::AcceptOpen);
}

std::optional<QString> QtCommonDialog::saveFile(const FileDialogRequest& request) {
    return runFileDialog(m_owner, request, QFileDialog::AcceptSave);
}

std::optional<QStringList> QtCommonDialog::openFiles(const FileDialogRequest& request) {
    QFileDialog dialog(m_owner, request.title);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFiles);
    const QStringList filters = dialogFilters(request.filter);
    dialog.setNameFilters(filters);
    if (!filters.isEmpty()) dialog.selectNameFilter(filters.first());
    if (!request.folder.isEmpty() && QDir(request.folder).exists()) dialog.setDirectory(request.folder);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    QStringList files;
    for (const QString& f : dialog.selectedFiles())
        files << QDir::toNativeSeparators(f);
    return files;
}

std::optional<QString> QtCommonDialog::chooseFolder(const FileDialogRequest& request) {
    QFileDialog dialog(m_owner, request.title);
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly, true);
    if (!request.folder.isEmpty() && QDir(request.folder).exists()) dialog.setDirectory(request.folder);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    return QDir::toNativeSeparators(dialog.selectedFiles().constFirst());
}

PrintResult QtCommonDialog::print(const PrintRequest& request, const PrintRenderer& render) {
    QPrinter printer(QPrinter::HighResolution);
    QPrintDialog dialog(&printer, m_owner);
    QAbstractPrintDialog::PrintDialogOptions options = QAbstractPrintDialog::PrintToFile;
    if (request.selectionOffered) {
        options |= QAbstractPrintDialog::PrintSelection;
        dialog.setPrintRange(QAbstractPrintDialog::Selection);
    }
    dialog.setOptions(options);
    if (dialog.exec() != QDialog::Accepted) return PrintResult::Cancelled;
    // The copies are drawn one after the other, so every output (a PDF file too) holds them all.
    PrintSettings settings;
    settings.copies = std::max(1, printer.copyCount());
    settings.selectionOnly = printer.printRange() == QPrinter::Selection;
    printer.setCopyCount(1);
    return render && render(printer, settings) ? PrintResult::Printed : PrintResult::Failed;
}

} // namespace lumora::platform
