// What the telephony tests share: settings in a fresh folder, the scripted prompt and the
// recording shell installed, and a wait that lets the event loop run.
#pragma once

#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <chrono>
#include <memory>

#include <gtest/gtest.h>

#include "CapturingShell.h"
#include "ScriptedPrompt.h"

class PhoneFixture : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_dir.isValid());
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, m_dir.path());
        m_promptInstalled = std::make_unique<PromptInstaller>(m_prompt);
        m_shellInstalled = std::make_unique<ShellInstaller>(m_shell);
    }
    void TearDown() override {
        m_shellInstalled.reset();
        m_promptInstalled.reset();
    }
    static void saveSetting(const QString& section, const QString& key, const QString& value) {
        QSettings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Telvia"),
                  QStringLiteral("Orvello"))
            .setValue(section + QLatin1Char('/') + key, value);
    }
    // Runs the event loop until `done` holds or `timeout` passes; returns `done()`.
    template <typename Pred>
    static bool waitFor(Pred done, std::chrono::milliseconds timeout = std::chrono::seconds(5)) {
        return QTest::qWaitFor(done, static_cast<int>(timeout.count()));
    }

    QTemporaryDir m_dir;
    ScriptedPrompt m_prompt;
    CapturingShell m_shell;
    std::unique_ptr<PromptInstaller> m_promptInstalled;
    std::unique_ptr<ShellInstaller> m_shellInstalled;
};
