// Profile reading as the Windows profile API behaves, on files in a temporary WINDIR.
#include "ProfileFile.h"

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <future>
#include <string>
#include <thread>
#include <tuple>

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
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

// What is not a small regular file is read as missing, never waited on or read without end,
// and standard error names the file and the reason.
class UnreadableProfileTest : public ProfileFileTest {
protected:
    // The value of [INSTALL] SRCDISK from `name`, read in a thread so that a reader that
    // waits on a FIFO fails the test instead of hanging it; and what went to standard error.
    std::pair<std::string, std::string> read_srcdisk(const std::string& name) {
        std::promise<std::string> value;
        auto future = value.get_future();
        testing::internal::CaptureStderr();
        std::thread reader([&] {
            value.set_value(GetPrivateProfileString("INSTALL", "SRCDISK", "NULL", 128, name));
        });
        if (future.wait_for(std::chrono::seconds(10)) != std::future_status::ready) {
            ADD_FAILURE() << name << ": the reader is still waiting";
            // Let a reader blocked in open() on the FIFO go.
            const int unblock = ::open((dir_ / name).c_str(), O_WRONLY | O_NONBLOCK);
            if (unblock >= 0) ::close(unblock);
        }
        reader.join();
        const std::string err = testing::internal::GetCapturedStderr();
        return {future.get(), err};
    }
};

TEST_F(UnreadableProfileTest, FolderFifoEndlessOrHugeFileReadsAsMissing) {
    fs::create_directory(dir_ / "Halvern.ini");
    auto [value, err] = read_srcdisk("Halvern.ini");
    EXPECT_EQ(value, "NULL");
    EXPECT_NE(err.find((dir_ / "Halvern.ini").string() + ": a folder"), std::string::npos) << err;

    ASSERT_EQ(::mkfifo((dir_ / "Fifo.ini").c_str(), 0600), 0);
    std::tie(value, err) = read_srcdisk("Fifo.ini");
    EXPECT_EQ(value, "NULL");
    EXPECT_NE(err.find("Fifo.ini: a FIFO"), std::string::npos) << err;

    fs::create_symlink("/dev/zero", dir_ / "Zero.ini");
    std::tie(value, err) = read_srcdisk("Zero.ini");
    EXPECT_EQ(value, "NULL");
    EXPECT_NE(err.find("Zero.ini: a device"), std::string::npos) << err;

    // A regular file past the limit, with the key at its start.
    const std::string head = "[INSTALL]\nSRCDISK=/cd/\n";
    write("Huge.ini", head + std::string(telvia::kMaxProfileBytes, ';'));
    std::tie(value, err) = read_srcdisk("Huge.ini");
    EXPECT_EQ(value, "NULL");
    EXPECT_NE(err.find("Huge.ini: larger than 1024 KiB"), std::string::npos) << err;
    // Told once: the callers read the same file many times.
    std::tie(value, err) = read_srcdisk("Huge.ini");
    EXPECT_EQ(err, "");

    // At the limit it is still a profile file.
    write("Full.ini", head + std::string(telvia::kMaxProfileBytes - head.size(), ';'));
    ASSERT_EQ(fs::file_size(dir_ / "Full.ini"), telvia::kMaxProfileBytes);
    EXPECT_EQ(read_srcdisk("Full.ini").first, "/cd/");
}

}  // namespace
