#include "JsonCalls.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include <nlohmann/json.hpp>

#include "data/Cp949.h"

namespace zendari {
namespace {

using nlohmann::json;

std::string error_line(std::string_view what) {
    return json{{"error", std::string(what)}}.dump(-1, ' ', false, json::error_handler_t::replace);
}

// UTF-8 as the JSON parser hands it over (always well formed) to UTF-16.
std::u16string to_utf16(std::string_view utf8) {
    std::u16string out;
    for (std::size_t i = 0; i < utf8.size();) {
        const auto b = static_cast<unsigned char>(utf8[i]);
        const int extra = b < 0x80 ? 0 : b < 0xE0 ? 1 : b < 0xF0 ? 2 : 3;
        char32_t c = extra == 0 ? b : b & (0x3F >> extra);
        for (int k = 1; k <= extra && i + k < utf8.size(); ++k)
            c = (c << 6) | (static_cast<unsigned char>(utf8[i + k]) & 0x3F);
        i += static_cast<std::size_t>(extra) + 1;
        if (c >= 0x10000) {
            out.push_back(static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10)));
            out.push_back(static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF)));
        } else {
            out.push_back(static_cast<char16_t>(c));
        }
    }
    return out;
}

// UTF-16 to UTF-8; a surrogate without its pair becomes U+FFFD.
std::string to_utf8(std::u16string_view utf16) {
    std::string out;
    for (std::size_t i = 0; i < utf16.size(); ++i) {
        char32_t c = utf16[i];
        if (c >= 0xD800 && c < 0xDC00 && i + 1 < utf16.size() && utf16[i + 1] >= 0xDC00 &&
            utf16[i + 1] < 0xE000) {
            c = 0x10000 + ((c - 0xD800) << 10) + (utf16[++i] - 0xDC00);
        } else if (c >= 0xD800 && c < 0xE000) {
            c = 0xFFFD;
        }
        if (c < 0x80) {
            out.push_back(static_cast<char>(c));
        } else if (c < 0x800) {
            out.push_back(static_cast<char>(0xC0 | (c >> 6)));
            out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        } else if (c < 0x10000) {
            out.push_back(static_cast<char>(0xE0 | (c >> 12)));
            out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        } else {
            out.push_back(static_cast<char>(0xF0 | (c >> 18)));
            out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        }
    }
    return out;
}

// Why a line is not JSON, in words a caller can act on: the parser's own account, with the
// two faults that are easy to make and hard to see named plainly.
std::string parse_failure(const json::exception& e) {
    std::string what = e.what();
    if (const std::size_t close = what.find("] "); close != std::string::npos)
        what.erase(0, close + 2);
    std::string place;
    if (const std::size_t at = what.find("column "); at != std::string::npos)
        place = " at " + what.substr(at, what.find(':', at) - at);
    if (const std::size_t at = what.find("number overflow parsing '"); at != std::string::npos)
        return "a number out of range: " +
               what.substr(at + 25, what.find('\'', at + 25) - (at + 25));
    if (what.find("surrogate") != std::string::npos)
        return "a text holds a lone surrogate (a \\uD800-\\uDFFF escape without its pair)" + place;
    if (what.find("ill-formed UTF-8") != std::string::npos)
        return "a text is not valid UTF-8" + place;
    return "not valid JSON: " + what;
}

// A JSON value as the variant of a parameter: "" on success, else what is wrong with it.
std::string to_variant(const json& value, Variant& out) {
    const auto out_of_range = [&] {
        return "a number out of range (whole numbers of 32 bits): " + value.dump();
    };
    if (value.is_boolean()) {
        out = value.get<bool>();
    } else if (value.is_number_unsigned()) {
        // Read as unsigned: 18446744073709551615 must not wrap round to -1.
        const auto n = value.get<std::uint64_t>();
        if (n > INT32_MAX) return out_of_range();
        out = static_cast<std::int32_t>(n);
    } else if (value.is_number_integer()) {
        const auto n = value.get<std::int64_t>();
        if (n < INT32_MIN || n > INT32_MAX) return out_of_range();
        out = static_cast<std::int32_t>(n);
    } else if (value.is_number_float()) {
        // 11.0 is how some JSON writers spell 11; a fraction has no long form.
        const double d = value.get<double>();
        if (!(d >= INT32_MIN && d <= INT32_MAX)) return out_of_range();
        if (d != std::trunc(d)) return "not a whole number: " + value.dump();
        out = static_cast<std::int32_t>(d);
    } else if (value.is_string()) {
        out = to_utf16(value.get<std::string>());
    } else {
        return "not a whole number of 32 bits, a boolean or a text: " + value.dump();
    }
    return {};
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
    json call;
    try {
        call = json::parse(line);
    } catch (const json::exception& e) {
        return error_line(parse_failure(e));
    }
    if (!call.is_object()) return error_line("not a JSON object");
    const auto member = call.find("member");
    if (member == call.end() || !member->is_string()) return error_line("no \"member\" text");
    const std::string name = member->get<std::string>();
    const DispId id = control.get_id_of_name(name);
    if (id == kDispUnknown) return error_line("unknown member: " + name);
    const auto members = control.members();
    const auto info = std::ranges::find(members, id, &MemberInfo::id);
    if (info == members.end()) return error_line("unknown member: " + name);

    std::vector<Variant> args;
    InvokeKind kind = InvokeKind::Method;
    if (const auto put = call.find("put"); put != call.end()) {
        if (!info->is_property) return error_line(name + " is not a property");
        kind = InvokeKind::PropertyPut;
        Variant v;
        if (const std::string why = to_variant(*put, v); !why.empty())
            return error_line("\"put\": " + why);
        args.push_back(std::move(v));
    } else if (info->is_property) {
        kind = InvokeKind::PropertyGet;
    }
    if (const auto given = call.find("args"); given != call.end()) {
        if (!given->is_array()) return error_line("\"args\" must be an array");
        if (kind != InvokeKind::Method) return error_line(name + " is a property: no \"args\"");
        for (const auto& a : *given) {
            Variant v;
            if (const std::string why = to_variant(a, v); !why.empty())
                return error_line(name + ": " + why);
            // The control works in code page 949: a text without a form there names nothing.
            if (const auto* text = std::get_if<std::u16string>(&v); text && !utf16_to_cp949(*text))
                return error_line(name + ": the text " + a.dump() + " has no CP949 form");
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
