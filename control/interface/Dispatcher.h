// The dispatch table of _DZendari over the engine: type-checks each late-bound call, converts
// texts between UTF-16 (the hosts) and CP949 (the engine), runs the member and notifies the
// property sink on writes. Qt-free, so it is tested without a window.
#pragma once

#include <functional>

#include "ZendariDispatch.h"

namespace zendari {

class ZendariCore;

class Dispatcher {
public:
    explicit Dispatcher(ZendariCore& core) : core_(core) {}

    static std::span<const MemberInfo> member_table();
    static DispId id_of_name(std::string_view name);

    DispResult invoke(DispId id, InvokeKind kind, std::span<const Variant> args, Variant& result);
    void set_sink(PropertyNotifySink* sink) { sink_ = sink; }
    // AboutBox is the one member the window answers itself; the dispatcher calls this.
    void set_about_handler(std::function<void()> fn) { about_ = std::move(fn); }

private:
    DispResult property(DispId id, InvokeKind kind, std::span<const Variant> args, Variant& result);
    ZendariCore& core_;
    PropertyNotifySink* sink_ = nullptr;
    std::function<void()> about_;
};

}  // namespace zendari
