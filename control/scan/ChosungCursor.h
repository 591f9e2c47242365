// The consonant cursor: where a lookup by initial consonants (ㄱㅇㅅ, 김ㅇㅅ) stands in the
// selected region's consonant index. One per process, beside the name cursor, which it leaves
// where it was: a lookup by initials between two pages of a dong scan does not move the scan.
#pragma once

#include <cstdint>
#include <memory>
#include <string_view>

#include "index/Chosung.h"
#include "index/ChosungIndex.h"

namespace zendari {

class IndexFile;
class NameCursor;

class ChosungCursor {
public:
    // Stands on the first name of the region open in `names` that matches `typed`, in the
    // consonant index's order; false (nothing to walk) when no name matches, and when the
    // region has no usable consonant index.
    bool find(const NameCursor& names, std::string_view typed);
    // The name the cursor stands on with its first record and record count; then moves on to
    // the next name that matches. False when the walk is over, and when `names` no longer has
    // the index open that the lookup was made in (another region was selected since).
    bool next(const NameCursor& names, std::string_view& name, std::int32_t& first,
              std::int32_t& count);

private:
    void clear() noexcept;
    // From at_ on to the first entry that matches, or to the end of the walk.
    void settle() noexcept;

    std::shared_ptr<const ChosungIndex> index_;    // the walk's, null when there is none
    std::shared_ptr<const ChosungIndex> current_;  // the selected region's, kept between lookups
    std::shared_ptr<const IndexFile> tried_;       // the name index current_ was sought for
    chosung::ChosungQuery query_;
    std::uint64_t at_ = 0;
};

}  // namespace zendari
