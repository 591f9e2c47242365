#include "Registration.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

#include "ZendariDispatch.h"

namespace zendari {
namespace {
// OLEMISC_ACTIVATEWHENVISIBLE | SETCLIENTSITEFIRST | INSIDEOUT | CANTLINKINSIDE | RECOMPOSEONRESIZE
constexpr int kMiscStatus = 0x100 | 0x20000 | 0x80 | 0x10 | 0x1;
}  // namespace

QString registryFilePath() {
    const QString env = qEnvironmentVariable("TELVIA_REGISTRY");
    if (!env.isEmpty()) return env;
    return QDir(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation))
        .filePath(QStringLiteral("telvia/registry.ini"));
}

int registerControl(const RegistrationPaths& paths) {
    QDir().mkpath(QFileInfo(paths.registryFile).absolutePath());
    QSettings reg(paths.registryFile, QSettings::IniFormat);
    const QString lib = QFileInfo(paths.libraryPath).absoluteFilePath();

    reg.beginGroup(QStringLiteral("TypeLib %1").arg(QLatin1String(kTypeLibId)));
    reg.setValue("Name", "ZendariLib");
    reg.setValue("Version", "1.0");
    reg.setValue("HelpString", "Zendari ActiveX Control module");
    reg.setValue("HelpFile", "Zendari.hlp");
    reg.setValue("Path", lib);
    reg.setValue("DispatchInterface",
                 QStringLiteral("_DZendari %1").arg(QLatin1String(kDispatchIid)));
    reg.setValue("DispatchHelp", "Dispatch interface for Zendari Control");
    reg.setValue("EventInterface",
                 QStringLiteral("_DZendariEvents %1").arg(QLatin1String(kEventsIid)));
    reg.setValue("EventHelp", "Event interface for Zendari Control");
    reg.endGroup();

    reg.beginGroup(QStringLiteral("CLSID %1").arg(QLatin1String(kClassId)));
    reg.setValue("Name", "Zendari Control");
    reg.setValue("ProgID", kProgId);
    reg.setValue("InprocServer", lib);
    reg.setValue("ThreadingModel", "Apartment");
    reg.setValue("Control", true);
    reg.setValue("Insertable", false);
    reg.setValue("MiscStatus", kMiscStatus);
    reg.setValue("TypeLib", kTypeLibId);
    reg.endGroup();

    reg.beginGroup(QStringLiteral("ProgID %1").arg(QLatin1String(kProgId)));
    reg.setValue("CLSID", kClassId);
    reg.endGroup();

    reg.sync();
    return reg.status() == QSettings::NoError ? 0 : -1;
}

int unregisterControl(const QString& registryFile) {
    QSettings reg(registryFile, QSettings::IniFormat);
    reg.remove(QStringLiteral("TypeLib %1").arg(QLatin1String(kTypeLibId)));
    reg.remove(QStringLiteral("CLSID %1").arg(QLatin1String(kClassId)));
    reg.remove(QStringLiteral("ProgID %1").arg(QLatin1String(kProgId)));
    reg.sync();
    return reg.status() == QSettings::NoError ? 0 : -1;
}

}  // namespace zendari
