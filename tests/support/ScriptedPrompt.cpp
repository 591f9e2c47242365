#include "ScriptedPrompt.h"

#include <gtest/gtest.h>

namespace {

bool fits(PromptButtons buttons, PromptAnswer answer) {
    switch (buttons) {
        case PromptButtons::Ok:
            return answer == PromptAnswer::Ok;
        case PromptButtons::OkCancel:
            return answer == PromptAnswer::Ok || answer == PromptAnswer::Cancel;
        case PromptButtons::YesNo:
            return answer == PromptAnswer::Yes || answer == PromptAnswer::No;
        case PromptButtons::RetryCancel:
            return answer == PromptAnswer::Retry || answer == PromptAnswer::Cancel;
        case PromptButtons::YesNoCancel:
            return answer == PromptAnswer::Yes || answer == PromptAnswer::No ||
                   answer == PromptAnswer::Cancel;
    }
    return false;
}

PromptAnswer safeAnswer(PromptButtons buttons) {
    if (buttons == PromptButtons::Ok) return PromptAnswer::Ok;
    if (buttons == PromptButtons::YesNo) return PromptAnswer::No;
    return PromptAnswer::Cancel;
}

}  // namespace

ScriptedPrompt::~ScriptedPrompt() {
    EXPECT_TRUE(m_answers.empty()) << m_answers.size() << " queued answer(s) never asked for";
    EXPECT_TRUE(m_inputs.empty()) << m_inputs.size() << " queued input(s) never asked for";
}

PromptAnswer ScriptedPrompt::message(const MessageRequest& request) {
    m_messages.push_back(request);
    if (m_onMessage) m_onMessage(request);
    if (m_answers.empty()) {
        ADD_FAILURE() << "unexpected message box: title \"" << request.title.toStdString()
                      << "\", text \"" << request.text.toStdString() << "\"";
        return safeAnswer(request.buttons);
    }
    const PromptAnswer answer = m_answers.front();
    m_answers.pop_front();
    if (!fits(request.buttons, answer)) {
        ADD_FAILURE() << "queued answer " << static_cast<int>(answer)
                      << " is not a button of the box \"" << request.title.toStdString() << "\": \""
                      << request.text.toStdString() << "\"";
        return safeAnswer(request.buttons);
    }
    return answer;
}

std::optional<QString> ScriptedPrompt::input(const InputRequest& request) {
    m_inputRequests.push_back(request);
    if (m_inputs.empty()) {
        ADD_FAILURE() << "unexpected input box: title \"" << request.title.toStdString()
                      << "\", prompt \"" << request.prompt.toStdString() << "\"";
        return std::nullopt;
    }
    const QueuedInput answer = m_inputs.front();
    m_inputs.pop_front();
    if (answer.cancelled) return std::nullopt;
    return answer.text;
}

void ScriptedPrompt::clear() {
    m_answers.clear();
    m_inputs.clear();
    m_messages.clear();
    m_inputRequests.clear();
}
