// A small directory CD for the control's tests: listings and dongs written as the builder
// reads them, compiled by zendari-build into a temporary folder, with a Windows directory
// whose Quenby.INI points at it (WINDIR is set for the test process and its children).
#pragma once

#include <QString>
#include <QStringList>
#include <QTemporaryDir>

struct Listing {
    QString name;
    QString dong;  // 8-digit dong code
    QString area = QStringLiteral("02");
    int exchange = 123;
    int line = 4567;
    int suffix = 0;
    int lotMain = 0;
    int lotSub = 0;
    QString postal = QStringLiteral("100011");
    QString detail;
};

struct DongRow {
    QString code, postal, name;
};

class CdFixture {
public:
    // Builds the CD; ok() tells whether the builder succeeded (its output in log()).
    CdFixture(const QList<Listing>& listings, const QList<DongRow>& dongs);
    bool ok() const { return m_ok; }
    QString log() const { return m_log; }
    QString cdRoot() const;
    QString windowsDir() const;
    // The file a Quenby.INI key names (for tests that remove one).
    QString fileOf(const QString& key) const;

private:
    QTemporaryDir m_dir;
    bool m_ok = false;
    QString m_log;
};
