// The name-search control without any GUI: the properties and methods of the dispatch
// interface, on CP949 text. The dispatch library, the command-line host and the
// tests all drive the engine through this one class; messages and scan progress come back
// through ControlHost, so no Qt type crosses here.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "common/ControlHost.h"

namespace zendari {

// Process-wide readers (index handles, dong table, filter window, record reader) are built
// once per process and shared by every ZendariCore object, as the control's instances share
// them; per-object state is the two property values, the result cursor and the scan state.
// Before a successful InitDB (or with no region selected) the searches answer empty, false
// or "vbROF" and show nothing. Tests start the readers afresh with
// reset_process_readers_for_testing() (scan/ProcessReaders.h).
class ZendariCore {
public:
    explicit ZendariCore(ControlHost& host);
    ~ZendariCore();
    ZendariCore(const ZendariCore&) = delete;
    ZendariCore& operator=(const ZendariCore&) = delete;

    // DISPID 1. Writing 1 initialises the process-wide readers; 2 and 3 show their notices.
    std::int32_t init_db() const;
    void set_init_db(std::int32_t value);

    // DISPID 2. Writing selects a region name index; -1 after a failure.
    std::int32_t local() const;
    void set_local(std::int32_t code);

    bool find_key(std::string_view key);                               // DISPID 3
    std::string get_next();                                            // DISPID 4
    bool set_result(std::int32_t rep, std::int32_t cnt);               // DISPID 5
    std::string get_result();                                          // DISPID 6
    std::string get_all_result(std::string_view loc);                  // DISPID 8
    std::string get_loc_next(std::string_view loc, std::int32_t cnt);  // DISPID 9
    std::string get_loc_sung(std::string_view loc, std::int32_t cnt,
                             std::string_view sung);  // DISPID 10
    // DISPID 11. The last scan of this object left the name cursor at the region's end: the
    // next page would walk no name.
    bool scan_ended() const;

    // DISPID 12. Positions the consonant cursor on the first name of the selected region whose
    // initials match `key` (ㄱㅇㅅ, or 김ㅇㅅ: syllables exactly, consonants by initial); true
    // when some name matches. False at once when the region has no consonant index.
    bool find_chosung(std::string_view key);
    // DISPID 13. The name the consonant cursor stands on, as GetNext gives it
    // ("name:first:count:"), and on to the next match; "vbROF" once the matches are walked, or
    // when another region has been selected since FindChosung.
    std::string get_next_chosung();

private:
    struct State;
    ControlHost& host_;
    std::unique_ptr<State> state_;
};

}  // namespace zendari
