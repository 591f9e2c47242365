#include "JsonCalls.h"

#include <QString>
#include <algorithm>
#include <cmath>
#include <vector>

#include <nlohmann/json.hpp>

namespace zendari {
namespace {

using nlohmann::json;

std::string error_line(std::string_view what) {
    return json{{"error", std::string(what)}}.dump(-1, ' ', false, json::error_handler_t::replace);
}

std::u16string to_utf16(const std::string& utf8) {
    const QString s = QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
    return std::u16string(reinterpret_cast<const char16_t*>(s.utf16()),
                          static_cast<std::size_t>(s.size()));
}

std::string to_utf8(const std::u16string& utf16) {
    return QString::fromUtf16(utf16.data(), static_cast<qsizetype>(utf16.size())).toStdString();
}

// A JSON value as the variant of a parameter; false when it has no such form.
bool to_variant(const json& value, Variant& out) {
    if (value.is_boolean()) {
        out = value.get<bool>();
    } else if (value.is_number_unsigned()) {
        // Read as unsigned: 18446744073709551615 must not wrap round to -1.
        const auto n = value.get<std::uint64_t>();
        if (n > INT32_MAX) return false;
        out = static_cast<std::int32_t>(n);
    } else if (value.is_number_integer()) {
        const auto n = value.get<std::int64_t>();
        if (n < INT32_MIN || n > INT32_MAX) return false;
        out = static_cast<std::int32_t>(n);
    } else if (value.is_number_float()) {
        // 11.0 is how some JSON writers spell 11; a fraction has no long form.
        const double d = value.get<double>();
        if (!(d >= INT32_MIN && d <= INT32_MAX) || d != std::trunc(d)) return false;
        out = static_cast<std::int32_t>(d);
    } else if (value.is_string()) {
        out = to_utf16(value.get<std::string>());
    } else {
        return false;
    }
    return true;
}

json from_variant(const Variant& v) {
    if (const auto* n = std::get_if<std::int32_t>(&v)) return *n;
    if (const auto* b = std::get_if<bool>(&v)) return *b;
    if (const auto* s = std::get_if<std::u16string>(&v)) return to_utf8(*s);
    return nullptr;
}

std::string describe(DispResult rc) {
    switch (rc) {
        case DispResult::MemberNotFound:
            return "member not found for this kind of call";
        case DispResult::TypeMismatch:
            return "argument of the wrong type";
        case DispResult::BadParamCount:
            return "wrong number of arguments";
        default:
            return "call failed";
    }
}

}  // namespace

std::string message_line(std::string_view caption_utf8, std::string_view text_utf8) {
    return json{
        {"message", {{"caption", std::string(caption_utf8)}, {"text", std::string(text_utf8)}}}}
        .dump(-1, ' ', false, json::error_handler_t::replace);
}

std::string run_json_call(DispatchObject& control, std::string_view line) {
    const json call = json::parse(line, nullptr, false);
    if (call.is_discarded() || !call.is_object()) return error_line("not a JSON object");
    const auto member = call.find("member");
    if (member == call.end() || !member->is_string()) return error_line("no \"member\" text");
    const std::string name = member->get<std::string>();
    const DispId id = control.get_id_of_name(name);
    if (id == kDispUnknown) return error_line("unknown member: " + name);
    const auto members = control.members();
    const auto info = std::ranges::find(members, id, &MemberInfo::id);

    std::vector<Variant> args;
    InvokeKind kind = InvokeKind::Method;
    if (const auto put = call.find("put"); put != call.end()) {
        if (!info->is_property) return error_line(name + " is not a property");
        kind = InvokeKind::PropertyPut;
        Variant v;
        if (!to_variant(*put, v))
            return error_line("\"put\" needs a whole number of 32 bits, a boolean or a text");
        args.push_back(std::move(v));
    } else if (info->is_property) {
        kind = InvokeKind::PropertyGet;
    }
    if (const auto given = call.find("args"); given != call.end()) {
        if (!given->is_array()) return error_line("\"args\" must be an array");
        if (kind != InvokeKind::Method) return error_line(name + " is a property: no \"args\"");
        for (const auto& a : *given) {
            Variant v;
            if (!to_variant(a, v))
                return error_line("arguments are whole numbers of 32 bits, booleans or texts");
            args.push_back(std::move(v));
        }
    }

    Variant result;
    const DispResult rc = control.invoke(id, kind, args, result);
    if (rc != DispResult::Ok) return error_line(name + ": " + describe(rc));
    return json{{"member", name}, {"result", from_variant(result)}}.dump(
        -1, ' ', false, json::error_handler_t::replace);
}

}  // namespace zendari
