// The one sample subscriber of every generated directory: a real entry on the CD whose record
// the main program recognises by its text and never lists (the directory's own test entry).
#pragma once

#include <string>

#include "Geography.h"
#include "Listing.h"

namespace zendari::sample {

struct SampleSubscriber {
    Listing listing;
    std::size_t dong_index = 0;  // into Geography::dongs
};

SampleSubscriber sample_subscriber(const Geography& geo);

// The record as a name search returns it, without its final line feed:
// dong code ":" dong name ":" subscriber record.
std::string excluded_record_text(const SampleSubscriber& s, const Geography& geo);
// The record as a dong or surname scan returns it, without its final line feed:
// name ":" dong name ":" subscriber record.
std::string excluded_scan_record_text(const SampleSubscriber& s, const Geography& geo);

}  // namespace zendari::sample
