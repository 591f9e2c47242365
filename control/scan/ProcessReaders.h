// The readers every control object of the process shares: the region name index with its
// name cursor, the dong data, the filter window and the record reader. They are built once
// per process; initialisation succeeds once, as the files stay open until the process ends.
#pragma once

#include <memory>

#include "data/CHrec.h"
#include "data/DongData.h"
#include "data/DongPostings.h"
#include "data/FileWindow.h"
#include "index/Nodix.h"

namespace zendari {

struct ProcessReaders {
    IndexHandle region{};
    IndexKey cursor{};  // the name cursor, shared by name lookup and the scans
    bool region_open = false;
    bool past_last_key = false;  // a lookup sorted after every key; the cursor has no name
    // The region index was opened again under a cursor that holds a key; a walk that goes on
    // from the cursor (GetNext, the next dong page) first finds that key in the new handle.
    bool cursor_unplaced = false;
    DongData dongs;
    FileWindow filter;
    CHrec chrec;
    bool initialised = false;
    bool postings_tried = false;
    std::unique_ptr<DongPostings> postings;  // null: scans walk the filter file

    ProcessReaders() = default;
    ProcessReaders(const ProcessReaders&) = delete;
    ProcessReaders& operator=(const ProcessReaders&) = delete;
    ~ProcessReaders() { close_index(region); }
};

ProcessReaders& process_readers();

// Tests only: drops the process's readers and starts over as if the process had just
// started, so one test binary can initialise the control against several CDs. Never called
// by the control or its hosts.
void reset_process_readers_for_testing();

}  // namespace zendari
