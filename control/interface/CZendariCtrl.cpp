#include "CZendariCtrl.h"

#include <QPainter>

#include "Prompt.h"
#include "ScanDialog.h"
#include "scan/ZendariCore.h"

namespace zendari {

CZendariCtrl::CZendariCtrl(QWidget* parent)
    : QWidget(parent),
      m_host(std::make_unique<QtControlHost>(this)),
      m_core(std::make_unique<ZendariCore>(*m_host)),
      m_dispatcher(std::make_unique<Dispatcher>(*m_core)) {
    setObjectName(QStringLiteral("zendari1"));
    m_dispatcher->set_about_handler([this] { AboutBox(); });
}

CZendariCtrl::~CZendariCtrl() = default;

DispId CZendariCtrl::get_id_of_name(std::string_view name) const {
    return Dispatcher::id_of_name(name);
}

std::span<const MemberInfo> CZendariCtrl::members() const {
    return Dispatcher::member_table();
}

DispResult CZendariCtrl::invoke(DispId id, InvokeKind kind, std::span<const Variant> args,
                                Variant& result) {
    if (includes(kind, InvokeKind::Method) && (id == kDispGetLocNext || id == kDispGetLocSung) &&
        !m_host->windowless()) {
        // A scan runs inside its modal dialog; the call returns when the scan is over.
        DispResult rc = DispResult::Ok;
        ScanDialog dialog(this, {});
        dialog.setScan([&] { rc = m_dispatcher->invoke(id, kind, args, result); });
        dialog.runScan();
        return rc;
    }
    return m_dispatcher->invoke(id, kind, args, result);
}

void CZendariCtrl::advise_property_notify(PropertyNotifySink* sink) {
    m_dispatcher->set_sink(sink);
}

void CZendariCtrl::AboutBox() {
    MessageRequest request;
    request.title = QStringLiteral("About Zendari Control");
    request.text = QStringLiteral("Zendari Control, Version 1.0");
    request.icon = PromptIcon::Information;
    request.buttons = PromptButtons::Ok;
    request.owner = this;
    activePrompt().message(request);
}

void CZendariCtrl::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QRect r = rect().adjusted(0, 0, -1, -1);
    painter.fillRect(rect(), Qt::white);
    painter.setPen(Qt::black);
    painter.drawEllipse(r);
}

}  // namespace zendari
