#include "Registry.h"

#include <QGuiApplication>
#include <QScreen>

namespace {

struct DpiOverride {
    bool active = false;
    std::optional<QString> value;
};
DpiOverride g_dpiOverride;  // test seam only

}  // namespace

bool ReadRegistryValue(RegistryRoot root, const QString& subkey, const QString& valueName,
                       QString& value) {
    const bool isDpi =
        root == RegistryRoot::CurrentConfig &&
        subkey.compare(QLatin1String("Display\\Settings"), Qt::CaseInsensitive) == 0 &&
        valueName.compare(QLatin1String("DPIPhysicalY"), Qt::CaseInsensitive) == 0;
    value.clear();
    if (!isDpi) return false;
    if (g_dpiOverride.active) {
        if (!g_dpiOverride.value) return false;
        value = *g_dpiOverride.value;
        return true;
    }
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen) return false;
    value = QString::number(qRound(screen->physicalDotsPerInchY()));
    return true;
}

RegistryDpiOverride::RegistryDpiOverride(std::optional<QString> value)
    : m_hadPrevious(g_dpiOverride.active), m_previous(g_dpiOverride.value) {
    g_dpiOverride = {true, std::move(value)};
}

RegistryDpiOverride::~RegistryDpiOverride() {
    g_dpiOverride = {m_hadPrevious, m_previous};
}
