// The prompt seam: what the scripted prompt records and how it catches unplanned prompts.
#include "Prompt.h"

#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include "ScriptedPrompt.h"

namespace {

TEST(PromptTest, ScriptedPromptRecordsRequestsAndAnswersInOrder) {
    ScriptedPrompt prompt;
    PromptInstaller installed(prompt);
    prompt.queueAnswer(PromptAnswer::Retry);
    prompt.queueAnswer(PromptAnswer::No);
    prompt.queueInput(QStringLiteral("메모1"));
    prompt.queueInput(std::nullopt);

    EXPECT_EQ(
        msgBox("본문", PromptButtons::RetryCancel, PromptIcon::Error, "오류 (L0001)", Beep::Yes),
        PromptAnswer::Retry);
    EXPECT_EQ(msgBox("종료?", PromptButtons::YesNo, PromptIcon::Question, "확인"),
              PromptAnswer::No);
    EXPECT_EQ(inputBox("이름", "메모", "기본"), QStringLiteral("메모1"));
    EXPECT_EQ(inputBox("이름", "메모"), std::nullopt);

    ASSERT_EQ(prompt.messages().size(), 2u);
    const MessageRequest& first = prompt.messages()[0];
    EXPECT_EQ(first.title, QStringLiteral("오류 (L0001)"));
    EXPECT_EQ(first.text, QStringLiteral("본문"));
    EXPECT_EQ(first.icon, PromptIcon::Error);
    EXPECT_EQ(first.buttons, PromptButtons::RetryCancel);
    EXPECT_TRUE(first.beep);
    EXPECT_FALSE(prompt.messages()[1].beep);
    ASSERT_EQ(prompt.inputs().size(), 2u);
    EXPECT_EQ(prompt.inputs()[0].defaultText, QStringLiteral("기본"));
}

TEST(PromptTest, InstallersNestAndRestore) {
    ScriptedPrompt outer;
    PromptInstaller a(outer);
    {
        ScriptedPrompt inner;
        PromptInstaller b(inner);
        EXPECT_EQ(&activePrompt(), &inner);
    }
    EXPECT_EQ(&activePrompt(), &outer);
}

TEST(PromptTest, UnplannedPromptsFailTheTestAndGetTheSafeAnswer) {
    EXPECT_NONFATAL_FAILURE(
        {
            ScriptedPrompt prompt;
            PromptInstaller installed(prompt);
            EXPECT_EQ(msgBox("x", PromptButtons::YesNo, PromptIcon::Question, "확인"),
                      PromptAnswer::No);
        },
        "unexpected message box");
    EXPECT_NONFATAL_FAILURE(
        {
            ScriptedPrompt prompt;
            PromptInstaller installed(prompt);
            prompt.queueAnswer(PromptAnswer::Retry);
            EXPECT_EQ(msgBox("x", PromptButtons::YesNo, PromptIcon::Question, "확인"),
                      PromptAnswer::No);
        },
        "not a button");
    EXPECT_NONFATAL_FAILURE(
        {
            ScriptedPrompt prompt;
            prompt.queueAnswer(PromptAnswer::Ok);
        },
        "never asked for");
}

}  // namespace
