#include "Dispatcher.h"

#include <algorithm>
#include <array>

#include "BoundaryText.h"
#include "data/Cp949.h"
#include "scan/ZendariCore.h"

namespace zendari {
namespace {

constexpr std::array<VarType, 1> kText{VarType::Text};
constexpr std::array<VarType, 2> kLongLong{VarType::Long, VarType::Long};
constexpr std::array<VarType, 2> kTextLong{VarType::Text, VarType::Long};
constexpr std::array<VarType, 3> kTextLongText{VarType::Text, VarType::Long, VarType::Text};

constexpr std::array<MemberInfo, 13> kMembers{{
    {"InitDB", kDispInitDB, true, VarType::Long, {}},
    {"SetLocal", kDispSetLocal, true, VarType::Long, {}},
    {"FindKey", kDispFindKey, false, VarType::Bool, kText},
    {"GetNext", kDispGetNext, false, VarType::Text, {}},
    {"SetResult", kDispSetResult, false, VarType::Bool, kLongLong},
    {"GetResult", kDispGetResult, false, VarType::Text, {}},
    {"GetAllResult", kDispGetAllResult, false, VarType::Text, kText},
    {"GetLocNext", kDispGetLocNext, false, VarType::Text, kTextLong},
    {"GetLocSung", kDispGetLocSung, false, VarType::Text, kTextLongText},
    {"AboutBox", kDispAboutBox, false, VarType::Empty, {}},
    {"ScanEnded", kDispScanEnded, true, VarType::Bool, {}},
    {"FindChosung", kDispFindChosung, false, VarType::Bool, kText},
    {"GetNextChosung", kDispGetNextChosung, false, VarType::Text, {}},
}};

bool equals_ignore_case(std::string_view a, std::string_view b) {
    return std::ranges::equal(a, b, [](char x, char y) {
        auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; };
        return lower(x) == lower(y);
    });
}

// Coerces an argument the way a dispatch server would: a long from a long or a boolean,
// a text from a text only.
bool matches(const Variant& v, VarType t) {
    switch (t) {
        case VarType::Long:
            return std::holds_alternative<std::int32_t>(v) || std::holds_alternative<bool>(v);
        case VarType::Bool:
            return std::holds_alternative<bool>(v) || std::holds_alternative<std::int32_t>(v);
        case VarType::Text:
            return std::holds_alternative<std::u16string>(v);
        case VarType::Empty:
            return false;
    }
    return false;
}

std::int32_t as_long(const Variant& v) {
    if (const auto* b = std::get_if<bool>(&v)) return *b ? -1 : 0;  // VARIANT_TRUE is -1
    return std::get<std::int32_t>(v);
}

Variant to_text(const std::string& cp949) {
    return utf16_from_cp949_lossy(cp949);
}

}  // namespace

std::span<const MemberInfo> Dispatcher::member_table() {
    return kMembers;
}

DispId Dispatcher::id_of_name(std::string_view name) {
    for (const auto& m : kMembers)
        if (equals_ignore_case(m.name, name)) return m.id;
    return kDispUnknown;
}

DispResult Dispatcher::property(DispId id, InvokeKind kind, std::span<const Variant> args,
                                Variant& result) {
    if (includes(kind, InvokeKind::PropertyPut)) {
        if (id == kDispScanEnded) return DispResult::MemberNotFound;  // read-only
        if (args.size() != 1) return DispResult::BadParamCount;
        if (!matches(args[0], VarType::Long)) return DispResult::TypeMismatch;
        if (id == kDispInitDB)
            core_.set_init_db(as_long(args[0]));
        else
            core_.set_local(as_long(args[0]));
        if (sink_) sink_->on_changed(id);
        return DispResult::Ok;
    }
    if (includes(kind, InvokeKind::PropertyGet)) {
        if (!args.empty()) return DispResult::BadParamCount;
        if (id == kDispScanEnded)
            result = core_.scan_ended();
        else
            result = id == kDispInitDB ? core_.init_db() : core_.local();
        return DispResult::Ok;
    }
    return DispResult::MemberNotFound;
}

DispResult Dispatcher::invoke(DispId id, InvokeKind kind, std::span<const Variant> args,
                              Variant& result) {
    result = std::monostate{};
    const auto it = std::ranges::find(kMembers, id, &MemberInfo::id);
    if (it == kMembers.end()) return DispResult::MemberNotFound;
    if (it->is_property) return property(id, kind, args, result);
    if (!includes(kind, InvokeKind::Method)) return DispResult::MemberNotFound;
    if (args.size() != it->params.size()) return DispResult::BadParamCount;
    for (std::size_t i = 0; i < args.size(); ++i)
        if (!matches(args[i], it->params[i])) return DispResult::TypeMismatch;

    // Texts go to the engine in CP949; text that has no CP949 form cannot name anything there.
    std::string texts[2];
    std::size_t n_text = 0;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (it->params[i] != VarType::Text) continue;
        auto cp949 = utf16_to_cp949(std::get<std::u16string>(args[i]));
        if (!cp949) return DispResult::TypeMismatch;
        texts[n_text++] = std::move(*cp949);
    }

    switch (id) {
        case kDispFindKey:
            result = core_.find_key(texts[0]);
            break;
        case kDispGetNext:
            result = to_text(core_.get_next());
            break;
        case kDispSetResult:
            result = core_.set_result(as_long(args[0]), as_long(args[1]));
            break;
        case kDispGetResult:
            result = to_text(core_.get_result());
            break;
        case kDispGetAllResult:
            result = to_text(core_.get_all_result(texts[0]));
            break;
        case kDispGetLocNext:
            result = to_text(core_.get_loc_next(texts[0], as_long(args[1])));
            break;
        case kDispGetLocSung:
            result = to_text(core_.get_loc_sung(texts[0], as_long(args[1]), texts[1]));
            break;
        case kDispFindChosung:
            result = core_.find_chosung(texts[0]);
            break;
        case kDispGetNextChosung:
            result = to_text(core_.get_next_chosung());
            break;
        case kDispAboutBox:
            if (about_) about_();
            break;
        default:
            return DispResult::MemberNotFound;
    }
    return DispResult::Ok;
}

}  // namespace zendari
