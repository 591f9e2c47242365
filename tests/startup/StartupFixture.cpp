#include "StartupFixture.h"

#include <QDateTime>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QSettings>

#include "Database.h"
#include "MainWindowFixture.h"
#include "frmMain.h"

QStringList folderListing(const QString& root) {
    QStringList lines;
    QDirIterator it(root, QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QFileInfo info(it.next());
        lines << QStringLiteral("%1 %2 %3")
                     .arg(QDir(root).relativeFilePath(info.filePath()))
                     .arg(info.size())
                     .arg(info.lastModified().toMSecsSinceEpoch());
    }
    lines.sort();
    return lines;
}

void StartupFixture::SetUp() {
    ASSERT_TRUE(m_tmp.isValid());
    QDir(m_tmp.path()).mkpath("windows");
    QDir(m_tmp.path()).mkpath("program/Pro/Docs");
    QDir(m_tmp.path()).mkpath("settings");
    QFile(path("mounts")).open(QIODevice::WriteOnly);  // no optical mounts
    qputenv("WINDIR", path("windows").toUtf8());
    // The name-search control reads its CD through Quenby.INI: a generated sample's.
    ASSERT_FALSE(sampleRoot().isEmpty());
    ASSERT_TRUE(QFile::copy(sampleRoot() + "/windows/Quenby.INI", path("windows/Quenby.INI")));
    qunsetenv("TELVIA_CDROM_DIRS");
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, path("settings"));
    m_installed = std::make_unique<PromptInstaller>(m_prompt);
}

void StartupFixture::TearDown() {
    m_installed.reset();
    qunsetenv("TELVIA_CDROM_DIRS");
}

QString StartupFixture::makeCd(const QString& name, bool withData) {
    QDir(m_tmp.path()).mkpath(name + "/data");
    if (withData) {
        QFile f(path(name + "/data/human.cod"));
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("x");
    }
    return path(name) + "/";
}

void StartupFixture::listDrives(const QStringList& roots) {
    qputenv("TELVIA_CDROM_DIRS", roots.join(':').toUtf8());
}

void StartupFixture::writeHalvernIni(const QString& text) {
    QFile f(path("windows/Halvern.ini"));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(text.toUtf8());
}

void StartupFixture::makeDocs(const char* secret) {
    if (QByteArray(secret) == frmMain::kDocsSecret) {
        // The real table, so the main window's region tree loads.
        ASSERT_TRUE(QFile::copy(sampleRoot() + "/program/Pro/Docs/adDocs.cad",
                                path("program/Pro/Docs/adDocs.cad")));
        return;
    }
    telvia::Database db;
    ASSERT_TRUE(
        telvia::Database::create(path("program/Pro/Docs/adDocs.cad").toStdString(), secret, db)
            .ok());
    ASSERT_TRUE(db.execute_script("CREATE TABLE areaCode(code TEXT, name TEXT);"
                                  "INSERT INTO areaCode VALUES('02', '서울');")
                    .ok());
}

modLoadProgram::StartOptions StartupFixture::options() const {
    modLoadProgram::StartOptions o;
    o.programDirectory = path("program");
    o.instanceLockPath = path("Halvern.lock");
    o.mountTable = path("mounts");
    o.controlLibrary = sampleStartOptions(QString(), QString()).controlLibrary;
    return o;
}
