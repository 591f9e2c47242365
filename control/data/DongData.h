// The dong code index and the dong table together: they turn a record's 8-digit dong code
// into its printable name (postal code, city, district, dong). One per process.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <unordered_map>

#include "data/DongTable.h"
#include "index/Nodix.h"

namespace zendari {

class ControlHost;
class TelEnvironment;

class DongData {
public:
    DongData() = default;
    DongData(const DongData&) = delete;
    DongData& operator=(const DongData&) = delete;
    ~DongData() { close_index(handle_); }

    // Opens the dong code index ("ZKWD") and the dong table ("ZCOD", "ZIDX"), showing the
    // control's message on failure. A second opening fails at the table (already opened).
    [[nodiscard]] bool open(const TelEnvironment& env, ControlHost& host);

    // The printable name of `code`: empty (after a message) when the code has no index
    // entry; nullopt (after a message) when the table returns no entry text, in which case
    // the caller gives up on the record.
    std::optional<std::string> name(std::int32_t code, ControlHost& host);
    // The same without a copy: null when giving up; otherwise valid while *this lives.
    const std::string* name_ref(std::int32_t code, ControlHost& host);

    DongTable& table() noexcept { return table_; }

private:
    IndexHandle handle_{};
    IndexKey key_{};
    DongTable table_;
    // Names already found: the files do not change, and a listing asks for the same few
    // dongs again and again. Failed lookups are not kept, so their messages repeat.
    std::unordered_map<std::int32_t, std::string> names_;
    const std::string no_name_;
};

}  // namespace zendari
