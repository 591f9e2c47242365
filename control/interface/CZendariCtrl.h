// The name-search control: a window that draws a white rectangle with its inscribed ellipse
// and answers the dispatch interface _DZendari by DISPID. The searching is the engine's
// (ZendariCore); this class adds the window, the message boxes, the scan dialog and the
// property change notification.
#pragma once

#include <QWidget>
#include <memory>

#include "Dispatcher.h"
#include "QtControlHost.h"
#include "ZendariDispatch.h"

namespace zendari {

class ZendariCore;

class CZendariCtrl final : public QWidget, public DispatchObject {
    Q_OBJECT
public:
    explicit CZendariCtrl(QWidget* parent = nullptr);
    ~CZendariCtrl() override;

    DispId get_id_of_name(std::string_view name) const override;
    std::span<const MemberInfo> members() const override;
    DispResult invoke(DispId id, InvokeKind kind, std::span<const Variant> args,
                      Variant& result) override;
    void advise_property_notify(PropertyNotifySink* sink) override;
    QWidget* widget() override { return this; }

    QtControlHost& host() { return *m_host; }
    void AboutBox();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::unique_ptr<QtControlHost> m_host;
    std::unique_ptr<ZendariCore> m_core;
    std::unique_ptr<Dispatcher> m_dispatcher;
};

}  // namespace zendari
