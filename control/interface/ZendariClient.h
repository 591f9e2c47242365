// Host side of the control: loads the control library by file name at run time, creates the
// control in a host window and offers typed late-bound calls by DISPID. Used by the main
// program, the command-line host and the tests; none of them links against the control.
#pragma once

#include <QLibrary>
#include <QPointer>
#include <QString>
#include <QWidget>
#include <memory>

#include "ZendariDispatch.h"

namespace zendari {

// Hands a control back to the library that made it.
struct ReleaseControl {
    ReleaseControlFn fn = nullptr;
    void operator()(DispatchObject* p) const {
        if (fn && p) fn(p);
    }
};

class ZendariClient {
public:
    ZendariClient() = default;
    ZendariClient(const ZendariClient&) = delete;
    ZendariClient& operator=(const ZendariClient&) = delete;
    ~ZendariClient();

    // Loads the library at `path` and creates one control as a child of `parent`.
    // On failure returns false and leaves a readable reason in errorString().
    bool load(const QString& path, QWidget* parent);
    bool isLoaded() const { return m_control != nullptr; }
    QString errorString() const { return m_error; }
    DispatchObject* control() const { return m_control.get(); }

    // Typed wrappers over Invoke by DISPID; a failed call yields the empty value of its type.
    void putLong(DispId id, std::int32_t value);
    std::int32_t getLong(DispId id);
    bool getBool(DispId id);  // false when the property is missing or not a boolean
    bool callBool(DispId id, std::span<const Variant> args);
    QString callText(DispId id, std::span<const Variant> args = {});
    void callVoid(DispId id);
    DispResult lastResult() const { return m_lastResult; }

    static Variant text(const QString& s);
    // Default location of the control library: beside the running executable.
    static QString defaultLibraryPath();

private:
    Variant invoke(DispId id, InvokeKind kind, std::span<const Variant> args);

    QLibrary m_library;
    std::unique_ptr<DispatchObject, ReleaseControl> m_control;
    QPointer<QWidget> m_widget;  // the control's window; its parent may delete it first
    QString m_error;
    DispResult m_lastResult = DispResult::Ok;
};

}  // namespace zendari
