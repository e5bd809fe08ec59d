#pragma once

#include "platform/commondialog.h"

class QWidget;

namespace lumora::platform {

// CommonDialog over QFileDialog and QPrintDialog. On a machine without a printer the print dialog
// still offers printing to a PDF file.
class QtCommonDialog final : public CommonDialog {
  public:
    explicit QtCommonDialog(QWidget* owner = nullptr) : m_owner(owner) {}
    void setOwner(QWidget* owner) { m_owner = owner; }

    std::optional<QString> openFile(const FileDialogRequest& request) override;
    std::optional<QString> saveFile(const FileDialogRequest& request) override;
    std::optional<QStringList> openFiles(const FileDialogRequest& request) override;
    std::optional<QString> chooseFolder(const FileDialogRequest& request) override;
    PrintResult print(const PrintRequest& request, const PrintRenderer& render) override;

  private:
    QWidget* m_owner;
};

} // namespace lumora::platform
