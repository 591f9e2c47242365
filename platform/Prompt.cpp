#include "Prompt.h"

#include <QAbstractButton>
#include <QApplication>
#include <QInputDialog>
#include <QMessageBox>

namespace {

// The installed prompt: one of the few program-wide values, set only through PromptInstaller.
Prompt* g_installed = nullptr;

QMessageBox::Icon toQtIcon(PromptIcon icon) {
    switch (icon) {
        case PromptIcon::Information:
            return QMessageBox::Information;
        case PromptIcon::Question:
            return QMessageBox::Question;
        case PromptIcon::Warning:
            return QMessageBox::Warning;
        case PromptIcon::Error:
            return QMessageBox::Critical;
        case PromptIcon::None:
            break;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::StandardButtons toQtButtons(PromptButtons buttons) {
    switch (buttons) {
        case PromptButtons::Ok:
            return QMessageBox::Ok;
        case PromptButtons::OkCancel:
            return QMessageBox::Ok | QMessageBox::Cancel;
        case PromptButtons::YesNo:
            return QMessageBox::Yes | QMessageBox::No;
        case PromptButtons::RetryCancel:
            return QMessageBox::Retry | QMessageBox::Cancel;
        case PromptButtons::YesNoCancel:
            return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    }
    return QMessageBox::Ok;
}

}  // namespace

QWidget* QtPrompt::owner() const {
    return m_parent ? m_parent.data() : QApplication::activeWindow();
}

PromptAnswer QtPrompt::message(const MessageRequest& request) {
    if (request.beep) QApplication::beep();
    // The texts keep the CR LF pairs of the program's messages; a label wants plain LF.
    QString text = request.text;
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    QMessageBox box(toQtIcon(request.icon), request.title, text, toQtButtons(request.buttons),
                    request.owner ? request.owner.data() : owner());
    box.setTextFormat(Qt::PlainText);
    // Korean captions, as the system's boxes have them; the CD prompt asks for "재시도".
    const std::pair<QMessageBox::StandardButton, const char*> captions[] = {
        {QMessageBox::Ok, "확인"},
        {QMessageBox::Cancel, "취소"},
        {QMessageBox::Yes, "예"},
        {QMessageBox::No, "아니요"},
        {QMessageBox::Retry, "재시도"}};
    for (const auto& [which, caption] : captions) {
        if (QAbstractButton* b = box.button(which)) b->setText(QString::fromUtf8(caption));
    }
    switch (box.exec()) {
        case QMessageBox::Ok:
            return PromptAnswer::Ok;
        case QMessageBox::Yes:
            return PromptAnswer::Yes;
        case QMessageBox::No:
            return PromptAnswer::No;
        case QMessageBox::Retry:
            return PromptAnswer::Retry;
        default:
            break;
    }
    // Esc or the close box: the safe answer of the box.
    if (request.buttons == PromptButtons::Ok) return PromptAnswer::Ok;
    if (request.buttons == PromptButtons::YesNo) return PromptAnswer::No;
    return PromptAnswer::Cancel;
}

std::optional<QString> QtPrompt::input(const InputRequest& request) {
    QInputDialog box(owner());
    box.setWindowTitle(request.title);
    box.setLabelText(request.prompt);
    box.setInputMode(QInputDialog::TextInput);
    box.setTextValue(request.defaultText);
    // The same Korean captions as the message boxes.
    box.setOkButtonText(QStringLiteral("확인"));
    box.setCancelButtonText(QStringLiteral("취소"));
    if (box.exec() != QDialog::Accepted) return std::nullopt;
    return box.textValue();
}

Prompt& activePrompt() {
    if (g_installed) return *g_installed;
    static QtPrompt fallback;
    return fallback;
}

PromptInstaller::PromptInstaller(Prompt& prompt) : m_previous(g_installed) {
    g_installed = &prompt;
}

PromptInstaller::~PromptInstaller() {
    g_installed = m_previous;
}

PromptAnswer msgBox(const QString& text, PromptButtons buttons, PromptIcon icon,
                    const QString& title, Beep beep) {
    return activePrompt().message({title, text, icon, buttons, beep == Beep::Yes});
}

std::optional<QString> inputBox(const QString& prompt, const QString& title,
                                const QString& defaultText) {
    return activePrompt().input({title, prompt, defaultText});
}
