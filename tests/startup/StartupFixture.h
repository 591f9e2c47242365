// A throw-away installation for start-up tests: a WINDIR with Halvern.ini, CD folders
// listed in TELVIA_CDROM_DIRS, a program folder with Pro/Docs/adDocs.cad, a private
// settings store and instance lock, and the scripted prompt installed.
#pragma once

#include <QString>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "ScriptedPrompt.h"
#include "modLoadProgram.h"

// Every file and folder under `root` with its size and modification time, one line each, for
// tests that prove a start left a folder as it was.
QStringList folderListing(const QString& root);

class StartupFixture : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    QString path(const QString& relative) const { return m_tmp.filePath(relative); }
    // A CD folder (listed as a drive); with `withData`, data/human.cod is on it.
    QString makeCd(const QString& name, bool withData);
    void listDrives(const QStringList& roots);
    void writeHalvernIni(const QString& text);
    // adDocs.cad: the sample's with the program's secret, else a stand-in keyed with `secret`.
    void makeDocs(const char* secret);
    modLoadProgram::StartOptions options() const;

    QTemporaryDir m_tmp;
    ScriptedPrompt m_prompt;
    std::unique_ptr<PromptInstaller> m_installed;
};
