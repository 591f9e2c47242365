#include "ZendariClient.h"

#include <QCoreApplication>
#include <QDir>

namespace zendari {

ZendariClient::~ZendariClient() {
    // The control goes before its code does; the library itself stays mapped until the
    // process ends, as an in-process control's server does while its host runs.
    // A control whose window went with its parent is gone already: only forget it then.
    if (m_widget.isNull()) (void)m_control.release();
    m_control.reset();
}

bool ZendariClient::load(const QString& path, QWidget* parent) {
    m_library.setFileName(path);
    if (!m_library.load()) {
        m_error = m_library.errorString();
        return false;
    }
    auto create = reinterpret_cast<CreateControlFn>(m_library.resolve(kCreateControlSymbol));
    auto release = reinterpret_cast<ReleaseControlFn>(m_library.resolve(kReleaseControlSymbol));
    if (!create || !release) {
        m_error = QStringLiteral("%1: not a control library").arg(QDir::toNativeSeparators(path));
        return false;
    }
    m_control =
        std::unique_ptr<DispatchObject, ReleaseControl>(create(parent), ReleaseControl{release});
    if (m_control) m_widget = m_control->widget();
    if (!m_control) {
        m_error = QStringLiteral("%1: the control could not be created")
                      .arg(QDir::toNativeSeparators(path));
        return false;
    }
    return true;
}

Variant ZendariClient::invoke(DispId id, InvokeKind kind, std::span<const Variant> args) {
    Variant result;
    if (!m_control) {
        m_lastResult = DispResult::NotInitialised;
        return result;
    }
    m_lastResult = m_control->invoke(id, kind, args, result);
    return result;
}

void ZendariClient::putLong(DispId id, std::int32_t value) {
    const Variant arg{value};
    invoke(id, InvokeKind::PropertyPut, std::span(&arg, 1));
}

std::int32_t ZendariClient::getLong(DispId id) {
    const Variant v = invoke(id, InvokeKind::PropertyGet, {});
    const auto* p = std::get_if<std::int32_t>(&v);
    return p ? *p : 0;
}

bool ZendariClient::getBool(DispId id) {
    const Variant v = invoke(id, InvokeKind::PropertyGet, {});
    const auto* p = std::get_if<bool>(&v);
    return p && *p;
}

bool ZendariClient::callBool(DispId id, std::span<const Variant> args) {
    const Variant v = invoke(id, InvokeKind::Method, args);
    const auto* p = std::get_if<bool>(&v);
    return p && *p;
}

QString ZendariClient::callText(DispId id, std::span<const Variant> args) {
    const Variant v = invoke(id, InvokeKind::Method, args);
    const auto* p = std::get_if<std::u16string>(&v);
    return p ? QString::fromUtf16(p->data(), static_cast<qsizetype>(p->size())) : QString();
}

void ZendariClient::callVoid(DispId id) {
    invoke(id, InvokeKind::Method, {});
}

Variant ZendariClient::text(const QString& s) {
    return std::u16string(reinterpret_cast<const char16_t*>(s.utf16()),
                          static_cast<std::size_t>(s.size()));
}

QString ZendariClient::defaultLibraryPath() {
    return QDir(QCoreApplication::applicationDirPath())
        .filePath(QLatin1String(kControlLibraryName));
}

}  // namespace zendari
