// Profile reading as the Windows profile API behaves, on files in a temporary WINDIR.
#include "ProfileFile.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include <gtest/gtest.h>
#include <unistd.h>

namespace fs = std::filesystem;
using telvia::GetPrivateProfileString;

namespace {

class ProfileFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() / ("telvia_profile_test_" + std::to_string(::getpid()));
        fs::remove_all(dir_);
        fs::create_directories(dir_);
        const char* old = std::getenv("WINDIR");
        had_windir_ = old != nullptr;
        if (old) old_windir_ = old;
        ::setenv("WINDIR", dir_.c_str(), 1);
    }
    void TearDown() override {
        if (had_windir_) {
            ::setenv("WINDIR", old_windir_.c_str(), 1);
        } else {
            ::unsetenv("WINDIR");
        }
        fs::remove_all(dir_);
    }
    void write(const std::string& name, const std::string& text) {
        std::ofstream(dir_ / name, std::ios::binary) << text;
    }

    fs::path dir_;
    bool had_windir_ = false;
    std::string old_windir_;
};

TEST_F(ProfileFileTest, BareNameIsReadFromWindirWithWindowsMatching) {
    write("Halvern.ini",
          "\xEF\xBB\xBF; installer output\r\n"
          "[Other]\r\nSRCDISK=wrong\r\n"
          "  [ install ]  \r\n"
          "  srcdisk  =   /media/cdrom/   \r\n"
          "Quoted=\"  two blanks kept inside  \"\r\n"
          "Korean=번호부\r\n"
          "[INSTALL]\r\nSRCDISK=second section is never read\r\n");
    EXPECT_EQ(GetPrivateProfileString("INSTALL", "SRCDISK", "NULL", 128, "Halvern.ini"),
              "/media/cdrom/");
    EXPECT_EQ(GetPrivateProfileString("Install", "QUOTED", "", 128, "Halvern.ini"),
              "  two blanks kept inside  ");
    EXPECT_EQ(GetPrivateProfileString("INSTALL", "Korean", "", 128, "Halvern.ini"), "번호부");
    // The file name itself matches case-insensitively, as on the Windows file system.
    EXPECT_EQ(GetPrivateProfileString("INSTALL", "SRCDISK", "NULL", 128, "HALVERN.INI"),
              "/media/cdrom/");
    // A path with a separator is used as it stands.
    EXPECT_EQ(
        GetPrivateProfileString("INSTALL", "SRCDISK", "NULL", 128, (dir_ / "Halvern.ini").string()),
        "/media/cdrom/");
}

TEST_F(ProfileFileTest, MissingFileSectionOrKeyGivesTheDefault) {
    write("Quenby.INI", "[TELEPHONE_ENVIRONMENT]\nDataDir=data\nEmpty=\n");
    EXPECT_EQ(GetPrivateProfileString("INSTALL", "SRCDISK", "NULL", 128, "nofile.ini"), "NULL");
    EXPECT_EQ(GetPrivateProfileString("NoSection", "DataDir", "dflt", 128, "Quenby.INI"), "dflt");
    EXPECT_EQ(
        GetPrivateProfileString("TELEPHONE_ENVIRONMENT", "NoKey", "dflt  ", 128, "Quenby.INI"),
        "dflt");  // trailing blanks of the default go, as on Windows
    // A present but empty value is a value, not a miss.
    EXPECT_EQ(GetPrivateProfileString("TELEPHONE_ENVIRONMENT", "Empty", "dflt", 128, "Quenby.INI"),
              "");
    // Keys of another section are not seen.
    write("Two.ini", "[A]\nk=a\n[B]\nx=b\n");
    EXPECT_EQ(GetPrivateProfileString("B", "k", "none", 128, "Two.ini"), "none");
}

TEST_F(ProfileFileTest, BufferSizeKeepsAtMostOneByteLess) {
    write("T.ini", "[S]\nk=abcdef\nh=가나다\n");
    EXPECT_EQ(GetPrivateProfileString("S", "k", "", 4, "T.ini"), "abc");
    EXPECT_EQ(GetPrivateProfileString("S", "k", "", 7, "T.ini"), "abcdef");
    EXPECT_EQ(GetPrivateProfileString("S", "k", "", 1, "T.ini"), "");
    EXPECT_EQ(GetPrivateProfileString("S", "k", "xyz", 0, "T.ini"), "");
    EXPECT_EQ(GetPrivateProfileString("S", "missing", "NULL", 3, "T.ini"), "NU");
    // Each Hangul syllable is three bytes: a cut inside one drops the whole syllable.
    EXPECT_EQ(GetPrivateProfileString("S", "h", "", 6, "T.ini"), "가");
    EXPECT_EQ(GetPrivateProfileString("S", "h", "", 7, "T.ini"), "가나");
}

TEST_F(ProfileFileTest, WindowsDirectoryFallsBackToThePerUserFolder) {
    EXPECT_EQ(telvia::windows_directory(), dir_);
    ::unsetenv("WINDIR");
    ::setenv("XDG_CONFIG_HOME", "/tmp/xdg-home", 1);
    EXPECT_EQ(telvia::windows_directory(), fs::path("/tmp/xdg-home/telvia/windows"));
    ::unsetenv("XDG_CONFIG_HOME");
    const std::string home = std::getenv("HOME") ? std::getenv("HOME") : "";
    ::setenv("HOME", "/home/someone", 1);
    EXPECT_EQ(telvia::windows_directory(), fs::path("/home/someone/.config/telvia/windows"));
    ::setenv("HOME", home.c_str(), 1);
}

}  // namespace
