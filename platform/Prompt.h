// The one way the program asks the user anything: message boxes (title, text, icon, buttons,
// optional beep) and input boxes (title, prompt, default text). Windows never call
// QMessageBox or QInputDialog themselves; they call msgBox()/inputBox() below, which go to
// the prompt installed for the whole program. The program installs a QtPrompt at start;
// tests install a ScriptedPrompt (ScriptedPrompt.h) that records each request and answers
// from a queue, so every exact text and title can be asserted headless.
//
//     if (msgBox(tr("..."), PromptButtons::YesNo, PromptIcon::Question, "확인") ==
//         PromptAnswer::Yes) { ... }
#pragma once

#include <QPointer>
#include <QString>
#include <QWidget>
#include <optional>

enum class PromptIcon { None, Information, Question, Warning, Error };
enum class PromptButtons { Ok, OkCancel, YesNo, RetryCancel, YesNoCancel };
// Closing a box with Esc or its close button answers Cancel, or No for Yes/No boxes.
enum class PromptAnswer { Ok, Cancel, Yes, No, Retry };
enum class Beep { No, Yes };

struct MessageRequest {
    QString title;
    QString text;
    PromptIcon icon = PromptIcon::None;
    PromptButtons buttons = PromptButtons::Ok;
    bool beep = false;  // sound the beep before showing the box
    // The window that owns the box (a control shows its boxes over its own window); none
    // means the prompt's own parent or the active window.
    QPointer<QWidget> owner = nullptr;
};

struct InputRequest {
    QString title;
    QString prompt;
    QString defaultText;
};

class Prompt {
public:
    virtual ~Prompt() = default;
    // Shows a modal message box and returns the button chosen.
    virtual PromptAnswer message(const MessageRequest& request) = 0;
    // Shows a modal input box; the text entered, or nullopt when cancelled.
    virtual std::optional<QString> input(const InputRequest& request) = 0;
};

// Message and input boxes on Qt's standard dialogs, owned by `parent` (or, when none is
// given or it has gone, by the active window).
class QtPrompt final : public Prompt {
public:
    explicit QtPrompt(QWidget* parent = nullptr) : m_parent(parent) {}
    PromptAnswer message(const MessageRequest& request) override;
    std::optional<QString> input(const InputRequest& request) override;

private:
    QWidget* owner() const;
    QPointer<QWidget> m_parent;
};

// The prompt every msgBox()/inputBox() goes to: the one installed last, else a QtPrompt.
Prompt& activePrompt();

// Installs a prompt for the life of this object and puts the previous one back after.
// The prompt must outlive the installer.
class PromptInstaller {
public:
    explicit PromptInstaller(Prompt& prompt);
    ~PromptInstaller();
    PromptInstaller(const PromptInstaller&) = delete;
    PromptInstaller& operator=(const PromptInstaller&) = delete;

private:
    Prompt* m_previous;
};

// MsgBox-shaped helpers over activePrompt().
PromptAnswer msgBox(const QString& text, PromptButtons buttons, PromptIcon icon,
                    const QString& title, Beep beep = Beep::No);
std::optional<QString> inputBox(const QString& prompt, const QString& title,
                                const QString& defaultText = {});
