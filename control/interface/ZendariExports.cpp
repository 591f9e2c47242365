// The library's exported entry points: the control factory the hosts resolve by name, and
// the self-registration pair.
#include <QLibraryInfo>

#include <dlfcn.h>

#include "CZendariCtrl.h"
#include "Registration.h"

namespace {
QString thisLibraryPath() {
    Dl_info info{};
    if (dladdr(reinterpret_cast<void*>(&thisLibraryPath), &info) && info.dli_fname)
        return QString::fromLocal8Bit(info.dli_fname);
    return QString::fromLatin1(zendari::kControlLibraryName);
}
}  // namespace

extern "C" {

__attribute__((visibility("default"))) zendari::DispatchObject* zendari_create_control(
    QWidget* parent) {
    return new zendari::CZendariCtrl(parent);  // owned by the host through zendari_release_control
}

__attribute__((visibility("default"))) void zendari_release_control(
    zendari::DispatchObject* control) {
    delete control;
}

__attribute__((visibility("default"))) std::int32_t DllRegisterServer() {
    return zendari::registerControl({zendari::registryFilePath(), thisLibraryPath()});
}

__attribute__((visibility("default"))) std::int32_t DllUnregisterServer() {
    return zendari::unregisterControl(zendari::registryFilePath());
}
}
