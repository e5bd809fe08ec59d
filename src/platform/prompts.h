#pragma once
// Message boxes with the exact text, title, buttons and icon the behaviour gives. A box without
// a given title carries the application's name.

#include <QString>

namespace lumora::platform {

inline const QString kAppTitle = QStringLiteral("Lumora");

enum class PromptIcon { None, Information, Exclamation, Question, Critical };
enum class PromptButtons { Ok, OkCancel, YesNo, YesNoCancel };
enum class PromptAnswer { Ok, Cancel, Yes, No };

class Prompts {
  public:
    Prompts() = default;
    Prompts(const Prompts&) = delete;
    Prompts& operator=(const Prompts&) = delete;
    virtual ~Prompts() = default;
    virtual PromptAnswer ask(const QString& text, const QString& title = kAppTitle,
                             PromptButtons buttons = PromptButtons::Ok,
                             PromptIcon icon = PromptIcon::None) = 0;
    void tell(const QString& text, const QString& title = kAppTitle, PromptIcon icon = PromptIcon::None) {
        ask(text, title, PromptButtons::Ok, icon);
    }
};

} // namespace lumora::platform
