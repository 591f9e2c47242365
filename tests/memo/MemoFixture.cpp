#include "MemoFixture.h"

#include <QDir>
#include <QSettings>

#include "startup/ProgramGlobals.h"

void MemoFixture::SetUp() {
    ASSERT_TRUE(m_tmp.isValid());
    ASSERT_TRUE(QDir().mkpath(datPath()));
    strDatPath = datPath();
    intMemoPadKind = 1;
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settingsPath());
    m_installed = std::make_unique<PromptInstaller>(m_prompt);
}

void MemoFixture::TearDown() {
    m_installed.reset();
}

QString MemoFixture::setting(const QString& section, const QString& key) const {
    return QSettings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Telvia"),
                     QStringLiteral("Orvello"))
        .value(section + QLatin1Char('/') + key)
        .toString();
}

void MemoFixture::saveSetting(const QString& section, const QString& key, const QString& value) {
    QSettings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Telvia"),
              QStringLiteral("Orvello"))
        .setValue(section + QLatin1Char('/') + key, value);
}

QString MemoFixture::lastMessage() const {
    if (m_prompt.messages().empty()) return {};
    const MessageRequest& m = m_prompt.messages().back();
    return m.title + QLatin1Char('|') + m.text;
}
