// The readers every control object of the process shares: the region name index with its
// name cursor and consonant cursor, the dong data, the filter window and the record reader. They
// are built once per process; initialisation succeeds once, as the files stay open until the
// process ends.
#pragma once

#include <memory>

#include "data/CHrec.h"
#include "data/DongData.h"
#include "data/DongPostings.h"
#include "data/FileWindow.h"
#include "scan/ChosungCursor.h"
#include "scan/NameCursor.h"

namespace zendari {

struct ProcessReaders {
    NameCursor names;       // the selected region's index, shared by name lookup and the scans
    ChosungCursor chosung;  // lookup by initial consonants in the same region
    DongData dongs;
    FileWindow filter;
    CHrec chrec;
    bool initialised = false;
    bool postings_tried = false;
    std::unique_ptr<DongPostings> postings;  // null: scans walk the filter file

    ProcessReaders() = default;
    ProcessReaders(const ProcessReaders&) = delete;
    ProcessReaders& operator=(const ProcessReaders&) = delete;
};

ProcessReaders& process_readers();

// Tests only: drops the process's readers and starts over as if the process had just
// started, so one test binary can initialise the control against several CDs. Never called
// by the control or its hosts.
void reset_process_readers_for_testing();

}  // namespace zendari
