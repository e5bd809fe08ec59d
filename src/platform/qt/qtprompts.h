#pragma once

#include "platform/prompts.h"
#include "platform/shell.h"

class QWidget;

namespace lumora::platform {

class QtPrompts final : public Prompts {
  public:
    explicit QtPrompts(QWidget* owner = nullptr) : m_owner(owner) {}
    void setOwner(QWidget* owner) { m_owner = owner; }
    PromptAnswer ask(const QString& text, const QString& title, PromptButtons buttons,
                     PromptIcon icon) override;

  private:
    QWidget* m_owner;
};

class QtShell final : public Shell {
  public:
    ShellResult open(const QString& path) override;
    ShellResult openIn(const QString& directory, const QString& file) override;
    bool canOpen(const QString& path) override;
    bool startProgram(const QString& program, const QStringList& args) override;
};

} // namespace lumora::platform
