// The host refuses a control library that is not whole before the system loader sees it:
// a cut-short copy made the loader die with SIGBUS; empty, foreign or special files get a
// message too, and a FIFO never holds the host.
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "ZendariClient.h"

namespace {

TEST(LibraryCheck, APartOfTheLibraryOrAnotherFileIsRefusedWithAReason) {
    QTemporaryDir dir;
    QFile real(QStringLiteral(ZENDARI_LIBRARY_PATH));
    ASSERT_TRUE(real.open(QIODevice::ReadOnly));
    const QByteArray whole = real.readAll();
    ASSERT_GT(whole.size(), 4096);
    const auto write = [&](const QString& name, const QByteArray& bytes) {
        QFile f(dir.filePath(name));
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        return dir.filePath(name);
    };
    struct Case {
        QString path;
        const char* said;
    };
    QDir(dir.path()).mkdir(QStringLiteral("folder.so"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(dir.filePath("fifo.so")).constData(), 0600), 0);
    const QList<Case> cases = {
        {write("half.so", whole.left(whole.size() / 2)), "cut short or damaged"},
        {write("one-short.so", whole.left(whole.size() - 1)), "cut short or damaged"},
        {write("header-only.so", whole.left(40)), "cut short inside its ELF header"},
        {write("empty.so", {}), "an empty file"},
        {write("text.so", "not a library\n"), "not a shared library"},
        {dir.filePath("folder.so"), "a folder"},
        {dir.filePath("fifo.so"), "not a regular file"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path.toStdString());
        zendari::ZendariClient client;
        EXPECT_FALSE(client.load(c.path, nullptr));
        EXPECT_TRUE(client.errorString().startsWith(c.path + ": "))
            << client.errorString().toStdString();
        EXPECT_TRUE(client.errorString().contains(QLatin1String(c.said)))
            << client.errorString().toStdString();
    }
    zendari::ZendariClient client;  // the whole library still loads
    EXPECT_TRUE(client.load(QStringLiteral(ZENDARI_LIBRARY_PATH), nullptr))
        << client.errorString().toStdString();
}

}  // namespace
