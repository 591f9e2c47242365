// Drives, registry values, the shell seam and the single-instance guard.
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "Drives.h"
#include "Registry.h"
#include "CapturingShell.h"
#include "SingleInstance.h"

namespace {

TEST(DrivesTest, OpticalMountsComeFromTheMountTable) {
    const QByteArray table =
        "/dev/sda1 / ext4 rw,relatime 0 0\n"
        "/dev/sr0 /media/cdrom iso9660 ro,nosuid 0 0\n"
        "/dev/sr1 /media/user/TELVIA\\040CD udf ro 0 0\n"
        "tmpfs /run tmpfs rw 0 0\n";
    EXPECT_EQ(opticalMounts(table), QStringList({"/media/cdrom/", "/media/user/TELVIA CD/"}));
    EXPECT_TRUE(opticalMounts("").isEmpty());
}

TEST(DrivesTest, ListedFoldersFollowTheMountsOnceEach) {
    QTemporaryDir tmp;
    ASSERT_TRUE(tmp.isValid());
    QDir(tmp.path()).mkpath("cd1");
    QDir(tmp.path()).mkpath("cd2");
    QFile table(tmp.filePath("mounts"));
    ASSERT_TRUE(table.open(QIODevice::WriteOnly));
    table.write("/dev/sr0 /media/cdrom iso9660 ro 0 0\n");
    table.close();
    const QString cd1 = tmp.filePath("cd1"), cd2 = tmp.filePath("cd2");
    qputenv(kCdRomDirsVariable,
            (cd1 + ":" + tmp.filePath("missing") + "::" + cd2 + "/:" + cd1).toUtf8());
    EXPECT_EQ(cdRomRoots(table.fileName()), QStringList({"/media/cdrom/", cd1 + "/", cd2 + "/"}));
    qunsetenv(kCdRomDirsVariable);
    EXPECT_EQ(cdRomRoots(tmp.filePath("no-table")), QStringList());
}

TEST(RegistryTest, OnlyThePhysicalDpiExistsAndTestsCanSetIt) {
    QString value = "left as passed";
    EXPECT_FALSE(ReadRegistryValue(RegistryRoot::CurrentConfig, "Display\\NoSuchKey",
                                   "DPIPhysicalY", value));
    EXPECT_EQ(value, "");
    {
        RegistryDpiOverride dpi(QStringLiteral("120"));
        EXPECT_TRUE(ReadRegistryValue(RegistryRoot::CurrentConfig, "Display\\Settings",
                                      "DPIPhysicalY", value));
        EXPECT_EQ(value, "120");
        RegistryDpiOverride missing(std::nullopt);
        EXPECT_FALSE(ReadRegistryValue(RegistryRoot::CurrentConfig, "Display\\Settings",
                                       "DPIPhysicalY", value));
    }
    // Without an override the screen answers with a whole number.
    ASSERT_TRUE(
        ReadRegistryValue(RegistryRoot::CurrentConfig, "Display\\Settings", "DPIPhysicalY", value));
    bool ok = false;
    EXPECT_GT(value.toInt(&ok), 0);
    EXPECT_TRUE(ok);
}

TEST(ShellTest, DesktopShellReportsMissingFilesAndPaths) {
    QTemporaryDir tmp;
    DesktopShell shell;
    EXPECT_EQ(shell.open(nullptr, tmp.filePath("nothing.html")), ShellResult::kFileNotFound);
    EXPECT_EQ(shell.open(nullptr, tmp.filePath("no/dir/file.html")), ShellResult::kPathNotFound);
    EXPECT_EQ(shell.open(nullptr, ""), ShellResult::kFileNotFound);
}

TEST(ShellTest, CapturingShellRecordsAndFailsOnRequest) {
    CapturingShell capture;
    ShellInstaller installed(capture);
    EXPECT_EQ(activeShell().open(nullptr, "http://example.invalid/"), ShellResult::kOk);
    capture.setResult(ShellResult::kNoAssociation);
    EXPECT_EQ(activeShell().open(nullptr, "a.doc"), ShellResult::kNoAssociation);
    EXPECT_EQ(capture.targets(), QStringList({"http://example.invalid/", "a.doc"}));
}

TEST(SingleInstanceTest, SecondGuardIsRefusedUntilTheFirstGoes) {
    QTemporaryDir tmp;
    const QString path = tmp.filePath("Halvern.lock");
    auto first = std::make_unique<SingleInstanceGuard>(path);
    ASSERT_TRUE(first->acquire());
    EXPECT_TRUE(first->acquire());  // asking again keeps the lock
    SingleInstanceGuard second(path);
    EXPECT_FALSE(second.acquire());
    first.reset();
    EXPECT_TRUE(second.acquire());
}

TEST(SingleInstanceTest, ALockFileThatCannotBeMadeIsNoSecondInstance) {
    QTemporaryDir tmp;
    SingleInstanceGuard guard(tmp.filePath("no-such-folder/Halvern.lock"));
    EXPECT_TRUE(guard.acquire()) << "nothing else runs: the start must not be refused";
}

}  // namespace
