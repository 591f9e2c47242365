#include "CdFixture.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSettings>
#include <QTextStream>

#include "ProfileFile.h"

namespace {
void writeText(const QString& path, const QString& text) {
    QFile f(path);
    if (f.open(QIODevice::WriteOnly | QIODevice::Truncate)) f.write(text.toUtf8());
}
}  // namespace

CdFixture::CdFixture(const QList<Listing>& listings, const QList<DongRow>& dongs) {
    QString l = QStringLiteral(
        "name\tdong_code\tarea_code\texchange\tline\tsuffix\tlot_main\tlot_sub\tpostal_"
        "code\tdetail\n");
    for (const Listing& r : listings)
        l += QStringLiteral("%1\t%2\t%3\t%4\t%5\t%6\t%7\t%8\t%9\t%10\n")
                 .arg(r.name, r.dong, r.area)
                 .arg(r.exchange)
                 .arg(r.line)
                 .arg(r.suffix)
                 .arg(r.lotMain)
                 .arg(r.lotSub)
                 .arg(r.postal, r.detail);
    QString d = QStringLiteral("dong_code\tpostal_code\tname\n");
    for (const DongRow& r : dongs)
        d += QStringLiteral("%1\t%2\t%3\n").arg(r.code, r.postal, r.name);
    writeText(m_dir.filePath("listings.tsv"), l);
    writeText(m_dir.filePath("dongs.tsv"), d);

    QProcess build;
    build.setProcessChannelMode(QProcess::MergedChannels);
    build.start(QStringLiteral(ZENDARI_BUILD_PATH),
                {"--listings", m_dir.filePath("listings.tsv"), "--dongs",
                 m_dir.filePath("dongs.tsv"), "--out", cdRoot()});
    build.waitForFinished(120000);
    m_log = QString::fromUtf8(build.readAll());
    m_ok = build.exitStatus() == QProcess::NormalExit && build.exitCode() == 0;

    QDir().mkpath(windowsDir());
    QFile::copy(QDir(cdRoot()).filePath("Quenby.INI"), QDir(windowsDir()).filePath("Quenby.INI"));
    qputenv("WINDIR", QFile::encodeName(windowsDir()));
}

QString CdFixture::cdRoot() const {
    return m_dir.filePath("cd");
}
QString CdFixture::windowsDir() const {
    return m_dir.filePath("windows");
}

QString CdFixture::fileOf(const QString& key) const {
    const std::string dirKey = key == QStringLiteral("인명") ? "TelDataPath" : "TelDataPath2";
    const std::string ini = QDir(windowsDir()).filePath("Quenby.INI").toStdString();
    const std::string dir =
        telvia::GetPrivateProfileString("TELEPHONE_ENVIRONMENT", dirKey, "", 260, ini);
    const std::string file =
        telvia::GetPrivateProfileString("TELEPHONE_ENVIRONMENT", key.toStdString(), "", 260, ini);
    return QDir(QString::fromStdString(dir)).filePath(QString::fromStdString(file));
}
