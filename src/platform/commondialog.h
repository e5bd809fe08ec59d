#pragma once
// The common dialogs: open a file, save a file, print. A cancel is told apart from a choice.
//
// Filters are given as the program's own texts write them: pairs of a description and its patterns,
// separated by "|", e.g. "Fichier Texte (*.txt)|*.txt"; the first pair is preselected.

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

class QPagedPaintDevice;

namespace lumora::platform {

struct FileDialogRequest {
    QString title;
    QString fileName; // proposed name (or full path)
    QString folder;   // starting folder; the dialog falls back to its own when it does not exist
    QString filter;
};

struct PrintRequest {
    bool selectionOffered = false; // some text is selected: the dialog offers the selection as the range
};

struct PrintSettings {
    int copies = 1;
    bool selectionOnly = false;
};

enum class PrintResult { Printed, Cancelled, Failed };

// Draws the document on the device the dialog set up; false when printing failed.
using PrintRenderer = std::function<bool(QPagedPaintDevice& device, const PrintSettings& settings)>;

class CommonDialog {
  public:
    CommonDialog() = default;
    CommonDialog(const CommonDialog&) = delete;
    CommonDialog& operator=(const CommonDialog&) = delete;
    virtual ~CommonDialog() = default;

    // The chosen full path, or nullopt when the user cancelled. Saving asks no overwrite question.
    virtual std::optional<QString> openFile(const FileDialogRequest& request) = 0;
    virtual std::optional<QString> saveFile(const FileDialogRequest& request) = 0;
    // Several existing files chosen at once; nullopt when the user cancelled.
    virtual std::optional<QStringList> openFiles(const FileDialogRequest& request) = 0;
    // A folder (one typed in need not exist yet); nullopt when the user cancelled.
    virtual std::optional<QString> chooseFolder(const FileDialogRequest& request) = 0;
    // Shows the print dialog and, unless cancelled, runs `render` on the printer it set up.
    virtual PrintResult print(const PrintRequest& request, const PrintRenderer& render) = 0;
};

// "Word (*.rtf)|*.rtf |Bloc Note (*.txt)|*.txt" -> one Qt name filter per pair, its patterns taken from
// the pattern part: "Word (*.rtf)", "Bloc Note (*.txt)"; "Image (*.a,*.b)|*.a;*.b" -> "Image (*.a *.b)".
QStringList dialogFilters(const QString& filter);

// A saved file's name without an extension takes the first one of the chosen filter
// ("Word (*.rtf)" gives "x.rtf"); a name with one, or a filter of all files, is left as it is.
QString withFilterExtension(const QString& path, const QString& chosenFilter);

} // namespace lumora::platform
