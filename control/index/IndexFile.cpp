#include "index/IndexFile.h"

#include <algorithm>
#include <cstring>

#include "common/BlockFileHeader.h"
#include "common/ByteOrder.h"
#include "common/StampedCache.h"
#include "index/index_format.h"

namespace zendari {

namespace fmt = index_format;

std::uint64_t IndexFile::block_begin(std::uint32_t block) const noexcept {
    return load_u32le(bytes_.data() + directory_ + 4ull * block);
}

std::uint64_t IndexFile::block_end(std::uint32_t block) const noexcept {
    return load_u32le(bytes_.data() + directory_ + 4ull * (block + 1));
}

std::uint64_t IndexFile::decode(std::uint32_t block, std::uint64_t at,
                                IndexEntry& entry) const noexcept {
    const std::uint64_t end = block_end(block);
    if (at + fmt::kEntryFixedSize > end) return 0;
    const auto shared = static_cast<std::uint8_t>(bytes_[at]);
    const auto suffix = static_cast<std::uint8_t>(bytes_[at + 1]);
    if (at == block_begin(block) && shared != 0) return 0;
    if (shared > entry.length && at != block_begin(block)) return 0;
    if (std::size_t{shared} + suffix > fmt::kMaxKeyLength) return 0;
    if (at + fmt::kEntryFixedSize + suffix > end) return 0;
    std::memcpy(entry.text + shared, bytes_.data() + at + 2, suffix);
    entry.length = static_cast<std::uint8_t>(shared + suffix);
    entry.text[entry.length] = '\0';
    entry.value = load_i32le(bytes_.data() + at + 2 + suffix);
    return at + fmt::kEntryFixedSize + suffix;
}

std::string_view IndexFile::first_key(std::uint32_t block, IndexEntry& scratch) const noexcept {
    if (decode(block, block_begin(block), scratch) == 0) return {};
    return scratch.view();
}

std::uint64_t IndexFile::key_prefix(std::string_view key) noexcept {
    std::uint64_t p = 0;
    for (std::size_t i = 0; i < 8; ++i)
        p = (p << 8) | (i < key.size() ? static_cast<unsigned char>(key[i]) : 0u);
    return p;
}

IndexFile::Position IndexFile::lower_bound(std::string_view target) const noexcept {
    Position pos;
    if (block_count_ == 0) return pos;
    // Last block whose first key is <= target (block 0 when none is). Keys hold no NUL, so
    // a first key whose leading eight bytes sort below the target's is below it, one whose
    // bytes sort above is above: only blocks that share the target's eight bytes need their
    // whole first key. The table of those bytes is small and contiguous, where the blocks
    // themselves would cost a cache miss at every step of the search.
    const std::uint64_t t = key_prefix(target);
    const auto begin = first_prefixes_.begin();
    const auto equal = std::equal_range(begin, first_prefixes_.end(), t);
    auto a = static_cast<std::uint32_t>(equal.first - begin);
    auto b = static_cast<std::uint32_t>(equal.second - begin);
    std::uint32_t lo = a == 0 ? 0 : a - 1;
    IndexEntry scratch;
    while (a < b) {  // the blocks of the same leading bytes, by their whole first keys
        const std::uint32_t mid = a + (b - a) / 2;
        if (first_key(mid, scratch) <= target) {
            lo = mid;
            a = mid + 1;
        } else {
            b = mid;
        }
    }
    // Two entries in turn, the key before and the one decoded from it: each decode needs only
    // the text the previous key has (a few bytes), not a copy of a whole entry.
    IndexEntry entries[2];
    std::size_t current = 0;
    std::uint64_t at = block_begin(lo);
    const std::uint64_t end = block_end(lo);
    for (std::uint32_t index = 0; at < end; ++index) {
        const IndexEntry& previous = entries[current];
        IndexEntry& next = entries[current ^ 1];
        std::memcpy(next.text, previous.text, previous.length);
        next.length = previous.length;
        const std::uint64_t after = decode(lo, at, next);
        if (after == 0) break;  // cannot happen on a verified file
        const int cmp = next.view().compare(target);
        if (cmp >= 0) {
            pos.block = lo;
            pos.at = at;
            pos.index = index;
            pos.previous = previous;
            pos.match = next;
            pos.found = (cmp == 0);
            return pos;
        }
        current ^= 1;
        at = after;
    }
    pos.block = lo + 1;
    pos.at = pos.block < block_count_ ? block_begin(pos.block) : 0;
    return pos;
}

bool IndexFile::verify() noexcept {
    const std::size_t size = bytes_.size();
    block_file::Fields header;
    if (!block_file::read(bytes_, fmt::kMagic, fmt::kVersion, fmt::kMaxKeysPerBlock, header))
        return false;
    key_count_ = header.count;
    block_count_ = header.block_count;
    keys_per_block_ = header.per_block;
    directory_ = header.directory;
    // Directory: block starts rising strictly from the end of the header to the directory.
    if (block_begin(0) != fmt::kHeaderSize) return false;
    if (block_count_ == 0) return directory_ == fmt::kHeaderSize;
    if (block_end(block_count_ - 1) != directory_) return false;
    for (std::uint32_t b = 0; b < block_count_; ++b) {
        if (block_end(b) <= block_begin(b)) return false;
    }
    // Every block decodes exactly to its end, with the expected key count, in strict order.
    IndexEntry previous_block_last;
    bool have_previous = false;
    bool ascending = true;
    std::int64_t previous_value = 0;
    std::vector<std::int32_t> values;
    values.reserve(std::min<std::uint64_t>(key_count_, size / fmt::kEntryFixedSize));
    std::vector<std::uint64_t> prefixes;
    prefixes.reserve(block_count_);
    for (std::uint32_t b = 0; b < block_count_; ++b) {
        const std::uint32_t expected = (b + 1 < block_count_)
                                           ? keys_per_block_
                                           : key_count_ - keys_per_block_ * (block_count_ - 1);
        IndexEntry entry;
        std::uint64_t at = block_begin(b);
        for (std::uint32_t k = 0; k < expected; ++k) {
            IndexEntry next = entry;
            const std::uint64_t after = decode(b, at, next);
            if (after == 0) return false;
            if (std::memchr(next.text, '\0', next.length) != nullptr) return false;
            const IndexEntry& before = (k == 0) ? previous_block_last : entry;
            if ((k > 0 || have_previous) && !(before.view() < next.view())) return false;
            if (k == 0) prefixes.push_back(key_prefix(next.view()));
            ascending = ascending && next.value > previous_value;
            if (ascending) values.push_back(next.value);
            previous_value = next.value;
            entry = next;
            at = after;
        }
        if (at != block_end(b)) return false;
        previous_block_last = entry;
        have_previous = true;
    }
    first_prefixes_ = std::move(prefixes);
    values_ascending_ = ascending;
    if (ascending) {
        values_ = std::move(values);
        samples_.reserve(values_.size() / kStride + 1);
        for (std::size_t k = 0; k < values_.size(); k += kStride) samples_.push_back(values_[k]);
    }
    return true;
}

bool IndexFile::entry_at(std::uint32_t ordinal, IndexEntry& entry,
                         std::uint64_t* after) const noexcept {
    if (ordinal >= key_count_) return false;
    const std::uint32_t block = ordinal / keys_per_block_;
    entry.length = 0;
    const std::uint64_t next =
        decode_on(block, block_begin(block), ordinal % keys_per_block_ + 1, entry);
    if (next == 0) return false;
    if (after != nullptr) *after = next;
    return true;
}

std::uint64_t IndexFile::decode_on(std::uint32_t block, std::uint64_t at, std::uint32_t count,
                                   IndexEntry& entry) const noexcept {
    // decode() entry by entry, with the block's bounds read once: a dong page asks for one
    // key per match, often from the start of its block.
    const std::uint64_t begin = block_begin(block);
    const std::uint64_t end = block_end(block);
    const std::byte* bytes = bytes_.data();
    std::size_t length = entry.length;
    for (std::uint32_t k = 0; k < count; ++k) {
        if (at + fmt::kEntryFixedSize > end) return 0;
        const auto shared = static_cast<std::uint8_t>(bytes[at]);
        const auto suffix = static_cast<std::uint8_t>(bytes[at + 1]);
        // The first entry shares nothing; a later one at most the key before it.
        if ((at == begin ? shared != 0 : shared > length) ||
            std::size_t{shared} + suffix > fmt::kMaxKeyLength ||
            at + fmt::kEntryFixedSize + suffix > end)
            return 0;
        // Short suffixes are copied as one 16-byte move; bytes past the key are overwritten
        // or lie beyond its length.
        if (suffix <= 16 && shared + 16u <= sizeof entry.text && at + 2 + 16 <= bytes_.size()) {
            std::memcpy(entry.text + shared, bytes + at + 2, 16);
        } else {
            std::memcpy(entry.text + shared, bytes + at + 2, suffix);
        }
        length = std::size_t{shared} + suffix;
        at += fmt::kEntryFixedSize + suffix;
    }
    entry.length = static_cast<std::uint8_t>(length);
    entry.text[length] = '\0';
    if (count > 0) entry.value = load_i32le(bytes + at - 4);
    return at;
}

void IndexFile::prefetch_entry(std::uint32_t ordinal) const noexcept {
    if (ordinal >= key_count_) return;
    const std::uint32_t block = ordinal / keys_per_block_;
    const std::byte* bytes = bytes_.data();
    for (std::uint64_t at = block_begin(block), end = block_end(block); at < end; at += 64)
        __builtin_prefetch(bytes + at);
}

const IndexEntry* IndexFile::KeyReader::at(std::uint32_t ordinal) noexcept {
    if (ordinal >= file_.key_count_) return nullptr;
    const std::uint32_t block = ordinal / file_.keys_per_block_;
    const std::uint32_t index = ordinal % file_.keys_per_block_;
    if (block != block_ || index + 1 < decoded_) {  // another block, or back in this one
        block_ = block;
        decoded_ = 0;
        after_ = file_.block_begin(block);
        entry_.length = 0;
    }
    if (decoded_ <= index) {
        after_ = file_.decode_on(block, after_, index + 1 - decoded_, entry_);
        if (after_ == 0) {
            block_ = UINT32_MAX;
            return nullptr;
        }
        decoded_ = index + 1;
    }
    return &entry_;
}

std::int64_t IndexFile::last_ordinal_with_value_at_most(std::int32_t value, std::uint32_t lo,
                                                        std::uint32_t hi) const noexcept {
    std::int64_t ordinal = -1;
    last_ordinals_with_value_at_most({&value, 1}, lo, hi, {&ordinal, 1});
    return ordinal;
}

void IndexFile::last_ordinals_with_value_at_most(std::span<const std::int32_t> values,
                                                 std::uint32_t lo, std::uint32_t hi,
                                                 std::span<std::int64_t> out) const noexcept {
    hi = std::min(hi, key_count_);
    if (!values_ascending_ || lo >= hi) {
        std::fill(out.begin(), out.end(), -1);
        return;
    }
    // Halving without branches on the values (they would be mispredicted half the time):
    // first over the samples of the strides after lo's, which are few and stay cached, then
    // inside the one stride that holds the answer, a cache line or two of the value table.
    // A batch of values goes in step, so the cache misses of its searches overlap: the
    // samples' halving takes as many steps for every value (the range is the same), the
    // stride's at most four.
    constexpr std::size_t kBatch = 16;
    const std::uint64_t first_sample = std::uint64_t{lo} / kStride + 1;
    const std::uint64_t end_sample = (std::uint64_t{hi} - 1) / kStride + 1;
    const std::int32_t* base[kBatch];
    std::uint64_t n[kBatch];
    for (std::size_t b = 0; b < values.size(); b += kBatch) {
        const std::size_t count = std::min(kBatch, values.size() - b);
        const std::int32_t* v = values.data() + b;
        for (std::size_t j = 0; j < count; ++j) base[j] = samples_.data() + first_sample;
        if (first_sample < end_sample) {
            for (std::uint64_t left = end_sample - first_sample; left > 1;) {
                const std::uint64_t half = left / 2;
                for (std::size_t j = 0; j < count; ++j)
                    base[j] = base[j][half] <= v[j] ? base[j] + half : base[j];
                left -= half;
            }
        }
        for (std::size_t j = 0; j < count; ++j) {
            // The last sample at or below the value, or none: the stride of lo then.
            const bool sampled = first_sample < end_sample && *base[j] <= v[j];
            const std::uint64_t start =
                sampled ? static_cast<std::uint64_t>(base[j] - samples_.data()) * kStride : lo;
            base[j] = values_.data() + start;
            n[j] = std::min<std::uint64_t>(kStride, hi - start);
        }
        for (bool more = true; more;) {
            more = false;
            for (std::size_t j = 0; j < count; ++j) {
                if (n[j] <= 1) continue;
                const std::uint64_t half = n[j] / 2;
                base[j] = base[j][half] <= v[j] ? base[j] + half : base[j];
                n[j] -= half;
                more = more || n[j] > 1;
            }
        }
        for (std::size_t j = 0; j < count; ++j)
            out[b + j] = values_[lo] > v[j] ? -1 : base[j] - values_.data();
    }
}

IndexFile::ValueHit IndexFile::last_with_value_at_most(std::int32_t value, std::uint32_t lo,
                                                       std::uint32_t hi) const noexcept {
    ValueHit hit;
    const std::int64_t found = last_ordinal_with_value_at_most(value, lo, hi);
    if (found < 0) return hit;
    const auto ordinal = static_cast<std::uint32_t>(found);
    if (!entry_at(ordinal, hit.entry)) return {};
    hit.ordinal = ordinal;
    hit.next_value = value_at(ordinal + 1);
    return hit;
}

std::unique_ptr<IndexFile> IndexFile::load(const std::string& path) {
    std::unique_ptr<IndexFile> file(new IndexFile());
    if (!file->file_.open(path)) return nullptr;
    file->bytes_ = file->file_.bytes();
    if (!file->verify()) return nullptr;
    return file;
}

std::shared_ptr<const IndexFile> IndexFile::open_shared(const std::string& path) {
    // The mappings are read-only and immutable, so handles share them safely; the cache bounds
    // how many stay mapped after their handles close: 16 regions, the dong index, and spare.
    static StampedCache<IndexFile> cache(24);
    return cache.get(
        path, [](const IndexFile&) { return true; }, [&] { return load(path); });
}

}  // namespace zendari
