// The dong and surname scans: walk the names of the selected region from the name cursor,
// read every record of each name and keep those of one location, reporting progress per
// name through the host, which may cancel. The matches come back as one string of
// "name:dong name:record|" items in index order.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace zendari {

class ControlHost;
class LocMatcher;
struct ProcessReaders;

struct ScanRequest {
    bool surname = false;   // surname scan: start at `sung`, stop after its names
    bool restart = false;   // dong scan: start again from the first name
    std::int32_t cnt = 0;   // names to walk at most
    std::string_view sung;  // CP949
};

std::string run_scan(ProcessReaders& readers, ControlHost& host, const LocMatcher& loc,
                     const ScanRequest& request);

}  // namespace zendari
