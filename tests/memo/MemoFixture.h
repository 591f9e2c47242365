// A memo test's world: a temporary data folder as strDatPath, settings in a temporary folder,
// the scripted prompt installed and people pads as the memo mode.
#pragma once

#include <QString>
#include <QTemporaryDir>
#include <memory>
#include <ostream>
#include <vector>

#include <gtest/gtest.h>

#include "MemoEntries.h"
#include "MemoFormat.h"
#include "Prompt.h"
#include "ScriptedPrompt.h"

// Test failures show texts as text.
inline void PrintTo(const QString& s, std::ostream* os) {
    *os << '"' << s.toStdString() << '"';
}

class MemoFixture : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    QString datPath() const { return m_tmp.filePath(QStringLiteral("dat")) + QLatin1Char('/'); }
    QString settingsPath() const { return m_tmp.filePath(QStringLiteral("settings")); }
    QString setting(const QString& section, const QString& key) const;
    void saveSetting(const QString& section, const QString& key, const QString& value);
    // The last message box asked, as "title|text".
    QString lastMessage() const;

    QTemporaryDir m_tmp;
    ScriptedPrompt m_prompt;
    std::unique_ptr<PromptInstaller> m_installed;
};
