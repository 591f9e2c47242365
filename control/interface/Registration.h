// Self-registration of the control: the type library, the control class and its programmatic
// identifier written to (or removed from) the per-user registry file, an INI file at
// $TELVIA_REGISTRY, else ~/.config/telvia/registry.ini. Containers read it to find the
// library by programmatic identifier.
#pragma once

#include <QString>

namespace zendari {

struct RegistrationPaths {
    QString registryFile;  // the per-user registry file
    QString libraryPath;   // the control library being registered
};

QString registryFilePath();
// Both return 0 (S_OK) on success, a negative code when the registry file cannot be written.
int registerControl(const RegistrationPaths& paths);
int unregisterControl(const QString& registryFile);

// Class and type library identifiers: fixed, shared by the control and its hosts.
inline constexpr const char* kClassId = "{6F1C2A4E-3B8D-4E57-9A0C-5D2E7B19C430}";
inline constexpr const char* kTypeLibId = "{6F1C2A4E-3B8D-4E57-9A0C-5D2E7B19C431}";
inline constexpr const char* kDispatchIid = "{6F1C2A4E-3B8D-4E57-9A0C-5D2E7B19C432}";
inline constexpr const char* kEventsIid = "{6F1C2A4E-3B8D-4E57-9A0C-5D2E7B19C433}";

}  // namespace zendari
