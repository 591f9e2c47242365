// A small listing of businesses for the sample business-directory library (VarlinkSample,
// tools/varlink-sample), so that the business search has something to find in a sample
// installation. Invented shops and offices in about a third of the dongs, one to three
// each, with the dong's postcode, address and telephone area code. UTF-8, tab-separated,
// a header line first:
//
//   company  category  postcode  address  area_code  number  department  dong_code
//
// category is a name or code "@" name; postcode "NNN-NNN"; area_code the telephone area
// code with its 0 ("02", "031"); number exchange "-" line; department may be empty.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string_view>

#include "Geography.h"
#include "Status.h"

namespace zendari::sample {

inline constexpr std::string_view kBusinessHeader =
    "company\tcategory\tpostcode\taddress\tarea_code\tnumber\tdepartment\tdong_code\n";

// Writes the listing to `file`, replacing it. The same seed gives the same listing.
telvia::Status write_business_listing(const Geography& geo, std::uint64_t seed,
                                      const std::filesystem::path& file);

}  // namespace zendari::sample
