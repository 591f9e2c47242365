// The test prompt: records every message and input request and answers from queues filled
// by the test. A request with no queued answer, or an answer the box could not give (Retry
// on a Yes/No box), fails the running test with the full request, and gets the box's safe
// answer (Ok, No or Cancel) so the code under test can go on. Install it with
// PromptInstaller. Links GoogleTest: for tests only.
#pragma once

#include <deque>
#include <functional>
#include <optional>
#include <vector>

#include "Prompt.h"

class ScriptedPrompt final : public Prompt {
public:
    ScriptedPrompt() = default;
    ~ScriptedPrompt() override;  // fails the test when queued answers were never asked for

    void queueAnswer(PromptAnswer answer) { m_answers.push_back(answer); }
    // Queues the text an input box returns; nullopt answers as if cancelled.
    void queueInput(const std::optional<QString>& text) {
        m_inputs.push_back({!text.has_value(), text.value_or(QString())});
    }

    // Runs on each message request before it is answered: lets a test change the world
    // "while the box is up" (insert the CD, then answer Retry).
    void setOnMessage(std::function<void(const MessageRequest&)> hook) {
        m_onMessage = std::move(hook);
    }

    PromptAnswer message(const MessageRequest& request) override;
    std::optional<QString> input(const InputRequest& request) override;

    const std::vector<MessageRequest>& messages() const { return m_messages; }
    const std::vector<InputRequest>& inputs() const { return m_inputRequests; }
    void clear();

private:
    std::function<void(const MessageRequest&)> m_onMessage;
    std::deque<PromptAnswer> m_answers;
    struct QueuedInput {
        bool cancelled;
        QString text;
    };
    std::deque<QueuedInput> m_inputs;
    std::vector<MessageRequest> m_messages;
    std::vector<InputRequest> m_inputRequests;
};
