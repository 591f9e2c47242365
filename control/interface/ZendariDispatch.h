// The control's type library, as the hosts see it: dispatch identifiers, invocation kinds,
// the variant that carries arguments and results, and the late-bound interface itself.
// The main program never links against the control; it loads the library by file name,
// creates the control through the exported factory and calls Invoke by DISPID. Strings cross
// as UTF-16 (the control converts to and from CP949 inside).
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <variant>

class QWidget;

namespace zendari {

using DispId = std::int32_t;

// Dispatch members of _DZendari. The numbers are the interface: hosts bind by them.
inline constexpr DispId kDispInitDB = 1;
inline constexpr DispId kDispSetLocal = 2;
inline constexpr DispId kDispFindKey = 3;
inline constexpr DispId kDispGetNext = 4;
inline constexpr DispId kDispSetResult = 5;
inline constexpr DispId kDispGetResult = 6;
inline constexpr DispId kDispGetAllResult = 8;
inline constexpr DispId kDispGetLocNext = 9;
inline constexpr DispId kDispGetLocSung = 10;
// Read-only: true once the last dong or surname scan reached the region's last name, so a
// further page would find nothing (a host stops offering "next page"). Not in the original
// table; 7 stays unused.
inline constexpr DispId kDispScanEnded = 11;
// Lookup by initial consonants, beside FindKey/GetNext and not in the original table either.
// FindChosung(key) positions the consonant cursor on the first name of the selected region
// whose initials match `key` (ㄱㅇㅅ finds 김영수, 고영수, ...; in 김ㅇㅅ the syllable must match
// exactly, the consonants by initial; ㄲㄸㅃㅆㅉ are consonants of their own) and answers
// whether any name matches. GetNextChosung walks those names, one "name:first:count:" entry a
// call as GetNext gives it, then "vbROF". The walk has a member of its own rather than going
// on through GetNext, because GetNext walks the name cursor that the dong scans share and
// callers rely on: a consonant lookup moves neither, and a host that never calls 12 and 13
// sees the control as before. Names come by their initials in order, the names with more
// records first among equal initials. A region without the CD's consonant index (an
// auxiliary file) matches nothing: FindChosung answers false and GetNextChosung "vbROF".
inline constexpr DispId kDispFindChosung = 12;
inline constexpr DispId kDispGetNextChosung = 13;
inline constexpr DispId kDispAboutBox = -552;  // DISPID_ABOUTBOX
inline constexpr DispId kDispUnknown = -1;     // DISPID_UNKNOWN

// Invocation kinds, with the values of the dispatch convention so they may be or-ed.
enum class InvokeKind : std::uint16_t { Method = 1, PropertyGet = 2, PropertyPut = 4 };
inline constexpr InvokeKind operator|(InvokeKind a, InvokeKind b) {
    return static_cast<InvokeKind>(static_cast<std::uint16_t>(a) | static_cast<std::uint16_t>(b));
}
// Whether `kind` asks for `flag`. A basic-style host reads a property or calls a method with
// Method | PropertyGet, as it cannot tell the two apart; the control accepts either form.
inline constexpr bool includes(InvokeKind kind, InvokeKind flag) {
    return (static_cast<std::uint16_t>(kind) & static_cast<std::uint16_t>(flag)) != 0;
}

// Result codes of Invoke, with the values of the dispatch convention.
enum class DispResult : std::int32_t {
    Ok = 0,
    MemberNotFound = static_cast<std::int32_t>(0x80020003u),
    TypeMismatch = static_cast<std::int32_t>(0x80020005u),
    BadParamCount = static_cast<std::int32_t>(0x8002000Eu),
    NotInitialised = static_cast<std::int32_t>(0x8000FFFFu),  // E_UNEXPECTED
};

// VT_EMPTY, VT_I4 (long), VT_BOOL, VT_BSTR. The caller owns every result it receives.
using Variant = std::variant<std::monostate, std::int32_t, bool, std::u16string>;

// Type of one parameter or result in the member table.
enum class VarType : std::uint8_t { Empty, Long, Bool, Text };

// One row of the dispatch table: what a host needs to bind and type-check a call.
struct MemberInfo {
    std::string_view name;
    DispId id;
    bool is_property;                 // property with change notification; read/write unless
                                      // read-only (ScanEnded)
    VarType result;                   // Empty for a method without a result
    std::span<const VarType> params;  // in order
};

// Receives property change notifications (the control's properties are bindable).
class PropertyNotifySink {
public:
    virtual ~PropertyNotifySink() = default;
    virtual void on_changed(DispId id) = 0;
};

// The late-bound interface the control offers.
class DispatchObject {
public:
    virtual ~DispatchObject() = default;
    // Name to DISPID, case-insensitive as the dispatch convention has it; kDispUnknown if none.
    virtual DispId get_id_of_name(std::string_view name) const = 0;
    // The member table (every member of _DZendari).
    virtual std::span<const MemberInfo> members() const = 0;
    // Runs one member. `args` in declaration order. The result is left empty for puts and
    // for methods without a result.
    virtual DispResult invoke(DispId id, InvokeKind kind, std::span<const Variant> args,
                              Variant& result) = 0;
    // Connection point for property change notification; nullptr removes the sink.
    virtual void advise_property_notify(PropertyNotifySink* sink) = 0;
    // The control's window, for a container that places it.
    virtual QWidget* widget() = 0;
};

// Exported entry points of the control library (C linkage, looked up by name).
// zendari_create_control makes a control as a child of `parent` (may be null) and returns an
// object that the host releases with zendari_release_control, never with delete.
extern "C" {
using CreateControlFn = DispatchObject* (*)(QWidget* parent);
using ReleaseControlFn = void (*)(DispatchObject*);
using RegisterServerFn = std::int32_t (*)();
}
inline constexpr const char* kCreateControlSymbol = "zendari_create_control";
inline constexpr const char* kReleaseControlSymbol = "zendari_release_control";
inline constexpr const char* kRegisterServerSymbol = "DllRegisterServer";
inline constexpr const char* kUnregisterServerSymbol = "DllUnregisterServer";

// File name of the control library; hosts look for it beside their own executable.
inline constexpr const char* kControlLibraryName = "Zendari20.so";
inline constexpr const char* kProgId = "Zendari.ZendariCtrl.1";

}  // namespace zendari
