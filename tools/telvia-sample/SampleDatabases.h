// The two encrypted databases that lie next to the main program: the region tree table
// "areaCode" (adDocs.cad) and the local listing table "inchbuk" (chb.cad).
#pragma once

#include <filesystem>
#include <string_view>

#include "Database.h"
#include "Geography.h"
#include "Listing.h"

namespace zendari::sample {

inline constexpr std::string_view kDocsSecret = "lanterns";
inline constexpr std::string_view kLocalSecret = "mwzkqrtvbnpla";

// Writes adDocs.cad with every row of geo.rows in order (the tree is built from the natural
// order of the table). An existing file is replaced.
telvia::Status write_area_codes(const Geography& geo, const std::filesystem::path& file);

// chb.cad, filled while the listings stream past: open(), add() per local subscriber, then
// finish() (one transaction; the indexes are built at the end).
class LocalListingWriter {
public:
    telvia::Status open(const std::filesystem::path& file);
    telvia::Status add(const Listing& l, const DongInfo& dong);
    telvia::Status finish();
    std::uint64_t rows() const noexcept { return rows_; }

private:
    telvia::Database db_;
    telvia::Statement insert_;
    std::uint64_t rows_ = 0;
};

}  // namespace zendari::sample
