// The JSON lines of the command-line host: any line reaches the real control (its dispatch
// table and engine, on a small CD) or is refused, and every answer is one line of JSON.
#include <cstdint>
#include <cstdlib>
#include <string>

#include <nlohmann/json.hpp>

#include "Dispatcher.h"
#include "FuzzInput.h"
#include "JsonCalls.h"
#include "SampleCd.h"
#include "scan/ProcessReaders.h"
#include "scan/ZendariCore.h"

using telvia::fuzz::check;

namespace {

class QuietHost final : public zendari::ControlHost {
public:
    void show_message(std::string_view, std::string_view) override {}
    void scan_begin(std::string_view, std::string_view, std::int32_t) override {}
    bool scan_step(std::int32_t i, std::string_view) override { return i > 5000; }
    void scan_end() override {}
};

// The control as the host sees it, without its window.
class EngineControl final : public zendari::DispatchObject {
public:
    EngineControl() : core_(host_), dispatcher_(core_) {}
    zendari::DispId get_id_of_name(std::string_view name) const override {
        return zendari::Dispatcher::id_of_name(name);
    }
    std::span<const zendari::MemberInfo> members() const override {
        return zendari::Dispatcher::member_table();
    }
    zendari::DispResult invoke(zendari::DispId id, zendari::InvokeKind kind,
                               std::span<const zendari::Variant> args,
                               zendari::Variant& result) override {
        return dispatcher_.invoke(id, kind, args, result);
    }
    void advise_property_notify(zendari::PropertyNotifySink*) override {}
    QWidget* widget() override { return nullptr; }

private:
    QuietHost host_;
    zendari::ZendariCore core_;
    zendari::Dispatcher dispatcher_;
};

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    telvia::fuzz::sample_cd();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // Each input starts as a fresh process would, so a crash replays from its input alone.
    zendari::reset_process_readers_for_testing();
    EngineControl control;
    std::string_view input = telvia::fuzz::as_text(data, size);
    while (!input.empty()) {
        const std::size_t nl = input.find('\n');
        const std::string_view line = input.substr(0, nl);
        input.remove_prefix(nl == std::string_view::npos ? input.size() : nl + 1);
        const std::string answer = zendari::run_json_call(control, line);
        check(answer.find('\n') == std::string::npos);
        check(nlohmann::json::accept(answer));
    }
    return 0;
}
