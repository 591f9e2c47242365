#include "scan/ChosungCursor.h"

#include "scan/NameCursor.h"

namespace zendari {

bool ChosungCursor::find(const NameCursor& names, std::string_view typed) {
    clear();
    if (!names.is_open()) return false;
    // The consonant index is sought once per name index: a CD without it answers at once.
    if (names.file() != tried_) {
        tried_ = names.file();
        current_ = ChosungIndex::open_shared(chosung_path(names.path()), tried_);
    }
    if (!current_) return false;
    index_ = current_;
    query_ = chosung::ChosungQuery(typed);
    at_ = index_->lower_bound(query_.prefix());
    settle();
    return index_ != nullptr;
}

bool ChosungCursor::next(const NameCursor& names, std::string_view& name, std::int32_t& first,
                         std::int32_t& count) {
    if (!index_) return false;
    if (index_->names_file() != names.file()) {
        clear();
        return false;
    }
    ChosungIndex::Entry e;
    at_ = index_->entry(at_, e);
    name = e.name;
    first = index_->first_record(e.ordinal);
    count = index_->record_count(e.ordinal);
    settle();
    return true;
}

void ChosungCursor::clear() noexcept {
    index_.reset();
    at_ = 0;
}

void ChosungCursor::settle() noexcept {
    ChosungIndex::Entry e;
    for (const std::uint64_t end = index_->end(); at_ < end;) {
        const std::uint64_t after = index_->entry(at_, e);
        if (!chosung::has_consonant_prefix(e.name, query_.prefix())) break;
        if (query_.matches(e.name)) return;
        at_ = after;
    }
    clear();
}

}  // namespace zendari
