// Where the program's own files live: the program folder, or for an installed program the
// user's data folder, filled from the program folder without ever replacing the user's files.
#include "UserDataFolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "StartupFixture.h"

namespace {

class UserDataFolderTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_tmp.isValid());
        write("program/Pro/Docs/adDocs.cad", "region tree");
        write("program/chb.cad", "local listing");
        write("program/Pro/Bin/info/additionInfo2", "#!/bin/sh\n");
        QFile::setPermissions(
            path("program/Pro/Bin/info/additionInfo2"),
            QFile::ReadOwner | QFile::ExeOwner | QFile::ReadOther | QFile::ExeOther);
    }
    QString path(const QString& relative) const { return m_tmp.filePath(relative); }
    void write(const QString& relative, const QByteArray& bytes) {
        QDir().mkpath(QFileInfo(path(relative)).path());
        QFile f(path(relative));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(bytes);
    }
    QByteArray read(const QString& relative) const {
        QFile f(path(relative));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
    }
    void markInstalled() { write("program/Halvern.userdata", ""); }

    QTemporaryDir m_tmp;
};

TEST_F(UserDataFolderTest, AProgramFolderWithoutTheMarkerIsUsedAsItIs) {
    const auto prepared = UserDataFolder::prepare(path("program/"), path("user"));
    EXPECT_EQ(prepared.folder, path("program"));
    EXPECT_TRUE(prepared.problems.isEmpty());
    EXPECT_FALSE(QFileInfo::exists(path("user")));
}

TEST_F(UserDataFolderTest, TheFirstStartCopiesTheShippedFilesAndMakesTheWritableFolders) {
    markInstalled();
    const QStringList shipped = folderListing(path("program"));
    const auto prepared = UserDataFolder::prepare(path("program"), path("user"));
    EXPECT_EQ(prepared.folder, path("user"));
    EXPECT_TRUE(prepared.problems.isEmpty()) << prepared.problems.join('\n').toStdString();
    EXPECT_EQ(read("user/Pro/Docs/adDocs.cad"), "region tree");
    EXPECT_EQ(read("user/chb.cad"), "local listing");
    EXPECT_EQ(read("user/Pro/Bin/info/additionInfo2"), "#!/bin/sh\n");
    EXPECT_TRUE(QFileInfo(path("user/Pro/Bin/info/additionInfo2")).isExecutable());
    EXPECT_TRUE(QFileInfo(path("user/dat")).isDir());
    // The marker is the program folder's, not a file of the user's folder.
    EXPECT_FALSE(QFileInfo::exists(path("user/Halvern.userdata")));
    EXPECT_EQ(folderListing(path("program")), shipped);
}

TEST_F(UserDataFolderTest, TheUsersFilesStayAndARemovedCopyComesBack) {
    markInstalled();
    ASSERT_TRUE(UserDataFolder::prepare(path("program"), path("user")).problems.isEmpty());
    write("user/chb.cad", "the user's own listing");
    write("user/dat/CDpm.db2", "memo pads");
    ASSERT_TRUE(QFile::remove(path("user/Pro/Docs/adDocs.cad")));
    write("program/Pro/Docs/adDocs.cad", "a newer region tree");

    const auto again = UserDataFolder::prepare(path("program"), path("user"));
    EXPECT_TRUE(again.problems.isEmpty());
    EXPECT_EQ(read("user/chb.cad"), "the user's own listing");
    EXPECT_EQ(read("user/dat/CDpm.db2"), "memo pads");
    EXPECT_EQ(read("user/Pro/Docs/adDocs.cad"), "a newer region tree");
}

TEST_F(UserDataFolderTest, WhatCannotBeMadeIsReportedAndTheRestStillArrives) {
    markInstalled();
    // A file where the documents folder belongs: the rest is still copied.
    write("user/Pro/Docs", "not a folder");
    const auto prepared = UserDataFolder::prepare(path("program"), path("user"));
    EXPECT_EQ(prepared.folder, path("user"));
    ASSERT_FALSE(prepared.problems.isEmpty());
    EXPECT_TRUE(prepared.problems.join('\n').contains(path("user/Pro/Docs")))
        << prepared.problems.join('\n').toStdString();
    EXPECT_EQ(read("user/chb.cad"), "local listing");
    EXPECT_TRUE(QFileInfo(path("user/dat")).isDir());
}

TEST(UserDataFolderLocationTest, FollowsXdgDataHomeWhenItIsAbsolute) {
    const QByteArray saved = qgetenv("XDG_DATA_HOME");
    const bool had = qEnvironmentVariableIsSet("XDG_DATA_HOME");
    qputenv("XDG_DATA_HOME", "/srv/data/");
    EXPECT_EQ(UserDataFolder::defaultLocation(), "/srv/data/telvia");
    for (const char* unusable : {"", "relative/data"}) {
        qputenv("XDG_DATA_HOME", unusable);
        EXPECT_EQ(UserDataFolder::defaultLocation(), QDir::homePath() + "/.local/share/telvia")
            << unusable;
    }
    if (had) {
        qputenv("XDG_DATA_HOME", saved);
    } else {
        qunsetenv("XDG_DATA_HOME");
    }
}

}  // namespace
