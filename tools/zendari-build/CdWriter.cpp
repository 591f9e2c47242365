#include "CdWriter.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <cstdio>
#include <cstring>
#include <memory>
#include <thread>

#include "Disk.h"
#include "common/ByteOrder.h"
#include "common/Checksum.h"
#include "common/MappedFile.h"
#include "data/CdManifest.h"
#include "data/filter_format.h"
#include "data/lof_format.h"
#include "data/posting_format.h"
#include "data/regions.h"
#include "index/ChosungIndex.h"
#include "index/ChosungWriter.h"
#include "index/IndexWriter.h"
#include "index/chosung_format.h"
#include "index/index_format.h"

namespace zendari::build {
namespace {

namespace fs = std::filesystem;

// File names on the CD; Quenby.INI lists them under these keys.
constexpr const char* kMasterName = "names.rec";
constexpr const char* kFilterName = "names.flt";
constexpr const char* kDongIndexName = "dong.kwd";
constexpr const char* kDongTextName = "dong.cod";
constexpr const char* kDongOffsetName = "dong.idx";
constexpr const char* kPostingName = "dong.pst";
// The start-up check file in the data folder: its presence tells a directory CD.
constexpr const char* kCheckFileName = "human.cod";
constexpr std::string_view kCheckFileText = "TELVIA DIRECTORY CD\r\n";

bool closed(OutputFile& out, std::string& error) {
    if (out.close()) return true;
    error = out.error();
    return false;
}

// Sort key of a listing: the first 8 name bytes big-endian (most names fit in them), then
// the whole name, then the input position, which keeps equal names in input order.
struct SortItem {
    std::uint64_t prefix;
    std::uint32_t index;
};

void sort_region(const ListingSet& set, std::vector<SortItem>& items) {
    std::sort(items.begin(), items.end(), [&](const SortItem& a, const SortItem& b) {
        if (a.prefix != b.prefix) return a.prefix < b.prefix;
        const std::string_view na = set.name(set.listings[a.index]);
        const std::string_view nb = set.name(set.listings[b.index]);
        if (na != nb) return na < nb;
        return a.index < b.index;
    });
}

std::uint64_t name_prefix(std::string_view name) {
    std::uint64_t p = 0;
    for (std::size_t i = 0; i < 8; ++i) {
        p = (p << 8) | (i < name.size() ? static_cast<unsigned char>(name[i]) : 0u);
    }
    return p;
}

// The master order: regions in index order, names ascending, ties in input order.
std::vector<std::uint32_t> master_order(const ListingSet& set,
                                        std::array<std::uint32_t, 17>& region_start) {
    std::array<std::vector<SortItem>, 16> regions;
    std::array<std::size_t, 16> counts{};
    for (const Listing& l : set.listings) ++counts[l.region];
    for (std::size_t r = 0; r < 16; ++r) regions[r].reserve(counts[r]);
    for (std::uint32_t i = 0; i < set.listings.size(); ++i) {
        const Listing& l = set.listings[i];
        regions[l.region].push_back({name_prefix(set.name(l)), i});
    }
    // Two workers take regions largest first.
    std::vector<std::size_t> by_size(16);
    for (std::size_t r = 0; r < 16; ++r) by_size[r] = r;
    std::sort(by_size.begin(), by_size.end(),
              [&](auto a, auto b) { return counts[a] > counts[b]; });
    std::atomic<std::size_t> next{0};
    auto worker = [&] {
        for (std::size_t k; (k = next.fetch_add(1)) < 16;) sort_region(set, regions[by_size[k]]);
    };
    std::thread helper(worker);
    worker();
    helper.join();
    std::vector<std::uint32_t> order;
    order.reserve(set.listings.size());
    for (std::size_t r = 0; r < 16; ++r) {
        region_start[r] = static_cast<std::uint32_t>(order.size());
        for (const SortItem& item : regions[r]) order.push_back(item.index);
        std::vector<SortItem>().swap(regions[r]);
    }
    region_start[16] = static_cast<std::uint32_t>(order.size());
    return order;
}

bool write_region_indexes(const ListingSet& set, const std::vector<std::uint32_t>& order,
                          const std::array<std::uint32_t, 17>& region_start, const fs::path& dir,
                          std::string& error) {
    for (std::size_t r = 0; r < 16; ++r) {
        IndexWriter writer;
        std::string_view previous;
        std::vector<std::string_view> names;  // with their record counts, for the .cho
        std::vector<std::uint32_t> counts;
        for (std::uint32_t k = region_start[r]; k < region_start[r + 1]; ++k) {
            const std::string_view name = set.name(set.listings[order[k]]);
            if (k > region_start[r] && name == previous) {
                ++counts.back();
                continue;
            }
            names.push_back(name);
            counts.push_back(1);
            if (!writer.add(name, static_cast<std::int32_t>(k + 1))) {
                error = "index of " + std::string(kRegionKeys[r]) + ": " + writer.error();
                return false;
            }
            previous = name;
        }
        // The sentinel: one past the region's last record.
        if (!writer.add(index_format::kEndKey,
                        static_cast<std::int32_t>(region_start[r + 1] + 1))) {
            error = "index of " + std::string(kRegionKeys[r]) + ": " + writer.error();
            return false;
        }
        const std::vector<std::byte> image = writer.image();
        const fs::path path = dir / (std::string(kRegionKeys[r]) + ".ndx");
        if (!write_file(path, {reinterpret_cast<const char*>(image.data()), image.size()}, error))
            return false;
        // The auxiliary consonant index beside it.
        const std::vector<std::byte> consonants = chosung_index_image(names, counts);
        if (!write_file(chosung_path(path.string()),
                        {reinterpret_cast<const char*>(consonants.data()), consonants.size()},
                        error))
            return false;
    }
    return true;
}

bool write_dong_files(const ListingSet& set, const fs::path& dir, std::string& error) {
    OutputFile text(dir / kDongTextName), offsets(dir / kDongOffsetName);
    IndexWriter index;
    std::uint32_t at = 0;
    std::array<std::byte, 4> b;
    for (std::size_t n = 0; n < set.dongs.size(); ++n) {
        const Dong& d = set.dongs[n];
        store_le(b.data(), at);
        offsets.write(b.data(), 4);
        // Field 1 carries 10 bytes after the name that readers cut: the postal code and 0000.
        const std::string code = std::to_string(d.code);
        std::string entry = code + ":" + d.text;
        entry += d.text.substr(1, 3) + d.text.substr(5, 3) + "0000";
        entry += ":\r\n";
        text.write(entry);
        at += static_cast<std::uint32_t>(entry.size());
        if (!index.add(code, static_cast<std::int32_t>(n + 1))) {
            error = "dong code index: " + index.error();
            return false;
        }
    }
    store_le(b.data(), at);
    offsets.write(b.data(), 4);
    if (!closed(text, error) || !closed(offsets, error)) return false;
    const std::vector<std::byte> image = index.image();
    return write_file(dir / kDongIndexName,
                      {reinterpret_cast<const char*>(image.data()), image.size()}, error);
}

}  // namespace

namespace {

// Master, filter, line blocks with their offset tables, and the dong postings, in one pass
// over the master order.
bool write_record_files(const ListingSet& set, const std::vector<std::uint32_t>& order,
                        const fs::path& data_dir, const fs::path& index_dir, std::string& error,
                        bool show_progress) {
    OutputFile master(data_dir / kMasterName);
    std::vector<std::byte> filter(order.size() * filter_format::kEntrySize);
    std::vector<std::uint32_t> dong_counts(set.dongs.size() + 1, 0);
    std::unique_ptr<OutputFile> block;
    std::vector<std::uint32_t> line_starts;
    std::uint64_t block_size = 0;
    std::int64_t block_number = -1;
    auto finish_block = [&]() -> bool {
        if (!block) return true;
        line_starts.push_back(static_cast<std::uint32_t>(block_size));
        if (!closed(*block, error)) return false;
        OutputFile lof(data_dir / block_offsets_name(block_number));
        std::array<std::byte, lof_format::kHeaderSize> h{};
        std::memcpy(h.data(), lof_format::kMagic, sizeof lof_format::kMagic);
        store_le(h.data() + lof_format::kLineCountAt,
                 static_cast<std::uint32_t>(line_starts.size() - 1));
        store_le(h.data() + lof_format::kBlockSizeAt, block_size);
        lof.write(h.data(), h.size());
        std::vector<std::byte> table(line_starts.size() * 4);
        for (std::size_t i = 0; i < line_starts.size(); ++i)
            store_le(table.data() + 4 * i, line_starts[i]);
        lof.write(table.data(), table.size());
        if (!closed(lof, error)) return false;
        block.reset();
        return true;
    };
    std::string line;
    for (std::size_t k = 0; k < order.size(); ++k) {
        const Listing& l = set.listings[order[k]];
        const std::int64_t record = static_cast<std::int64_t>(k) + 1;
        if (block_of_record(record) != block_number) {
            if (!finish_block()) return false;
            block_number = block_of_record(record);
            block = std::make_unique<OutputFile>(data_dir / block_file_name(block_number));
            line_starts.clear();
            block_size = 0;
            if (show_progress) {
                std::fprintf(stderr, "zendari-build: writing records %lld of %zu\n",
                             static_cast<long long>(record), order.size());
            }
        }
        const auto bytes = encode_record(l.record);
        master.write(bytes.data(), bytes.size());
        store_le(filter.data() + filter_format::kEntrySize * k, set.dongs[l.dong].code);
        ++dong_counts[l.dong];
        line.assign(set.detail(l));
        line += "\r\n";
        line_starts.push_back(static_cast<std::uint32_t>(block_size));
        block->write(line);
        block_size += line.size();
    }
    if (!finish_block()) return false;
    if (!closed(master, error)) return false;
    OutputFile filter_out(index_dir / kFilterName);
    filter_out.write(filter.data(), filter.size());
    if (!closed(filter_out, error)) return false;

    // Postings: a counting sort of record numbers by dong, ascending within each dong.
    namespace pf = posting_format;
    const std::size_t dongs = set.dongs.size();
    const std::uint64_t postings_at = pf::kHeaderSize + dongs * pf::kDirectoryEntrySize;
    std::vector<std::byte> post(postings_at + order.size() * pf::kPostingSize);
    std::vector<std::uint32_t> next(dongs);
    std::uint32_t first = 0;
    for (std::size_t d = 0; d < dongs; ++d) {
        std::byte* e = post.data() + pf::kHeaderSize + d * pf::kDirectoryEntrySize;
        store_le(e, set.dongs[d].code);
        store_le(e + 4, first);
        store_le(e + 8, dong_counts[d]);
        next[d] = first;
        first += dong_counts[d];
    }
    for (std::size_t k = 0; k < order.size(); ++k) {
        const auto d = static_cast<std::size_t>(set.listings[order[k]].dong);
        store_le(post.data() + postings_at + pf::kPostingSize * next[d]++,
                 static_cast<std::uint32_t>(k + 1));
    }
    std::byte* h = post.data();
    std::memcpy(h + pf::kMagicAt, pf::kMagic, sizeof pf::kMagic);
    store_le(h + pf::kVersionAt, pf::kVersion);
    store_le(h + pf::kDongCountAt, static_cast<std::uint32_t>(dongs));
    store_le(h + pf::kRecordCountAt, static_cast<std::uint32_t>(order.size()));
    store_le(h + pf::kFilterChecksumAt, checksum64(filter));
    store_le(h + pf::kFileSizeAt, static_cast<std::uint64_t>(post.size()));
    store_le(h + pf::kBodyChecksumAt,
             checksum64(std::span<const std::byte>(post).subspan(pf::kHeaderSize)));
    store_le(h + pf::kHeaderChecksumAt,
             checksum64(std::span<const std::byte>(post).first(pf::kHeaderChecksumAt)));
    OutputFile post_out(index_dir / kPostingName);
    post_out.write(post.data(), post.size());
    return closed(post_out, error) && write_file(data_dir / kCheckFileName, kCheckFileText, error);
}

// Every file of the data and index folders with its size and checksum, as the CD's manifest.
bool write_manifest(const fs::path& data_dir, const fs::path& index_dir, std::string& error) {
    std::vector<ManifestEntry> entries;
    for (const fs::path& dir : {data_dir, index_dir}) {
        std::vector<fs::path> files;
        std::error_code ec;
        for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec))
            files.push_back(it->path());
        if (ec) {
            error = "cannot list " + dir.string() + ": " + ec.message();
            return false;
        }
        std::sort(files.begin(), files.end());
        for (const fs::path& path : files) {
            MappedFile file;
            if (!file.open(path.string())) {
                error = "cannot read back " + path.string();
                return false;
            }
            const std::string name = path.filename().string();
            // The files the readers do without: line offset tables, dong postings,
            // consonant indexes.
            const bool auxiliary = name.ends_with(".lof") || name == kPostingName ||
                                   name.ends_with(chosung_format::kExtension);
            entries.push_back({.auxiliary = auxiliary,
                               .in_data_folder = dir == data_dir,
                               .name = name,
                               .size = file.size(),
                               .checksum = checksum64(file.bytes())});
        }
    }
    return write_file(index_dir / kManifestName, manifest_text(entries), error);
}

bool write_profile(const fs::path& folder, const fs::path& final_root, std::string& error) {
    return write_file(folder / "Quenby.INI",
                      profile_text(final_root / "data", final_root / "index"), error);
}

}  // namespace

bool write_cd(ListingSet& set, const fs::path& folder, const fs::path& final_root,
              std::string& error, bool show_progress) {
    // Only the two subfolders: `folder` itself is made by the caller, and an interrupt that
    // took it away must not see it made again here.
    for (const char* sub : {"data", "index"}) {
        if (!make_folder(folder / sub, error)) return false;
    }
    if (show_progress)
        std::fprintf(stderr, "zendari-build: sorting %zu listings\n", set.listings.size());
    std::array<std::uint32_t, 17> region_start{};
    const std::vector<std::uint32_t> order = master_order(set, region_start);
    if (show_progress) std::fprintf(stderr, "zendari-build: writing the region name indexes\n");
    return write_region_indexes(set, order, region_start, folder / "index", error) &&
           write_dong_files(set, folder / "index", error) &&
           write_record_files(set, order, folder / "data", folder / "index", error,
                              show_progress) &&
           write_manifest(folder / "data", folder / "index", error) &&
           write_profile(folder, final_root, error);
}

std::string profile_text(const fs::path& data_dir, const fs::path& index_dir) {
    std::string text = "; Directory CD written by zendari-build\r\n[TELEPHONE_ENVIRONMENT]\r\n";
    text += "TelDataPath=" + data_dir.string() + "/\r\n";
    text += "TelDataPath2=" + index_dir.string() + "/\r\n";
    text += std::string("인명=") + kMasterName + "\r\n";
    text += std::string("인명FLT=") + kFilterName + "\r\n";
    text += std::string("ZKWD=") + kDongIndexName + "\r\n";
    text += std::string("ZCOD=") + kDongTextName + "\r\n";
    text += std::string("ZIDX=") + kDongOffsetName + "\r\n";
    text += std::string("ZPOST=") + kPostingName + "\r\n";
    text += std::string(kManifestKey) + "=" + std::string(kManifestName) + "\r\n";
    for (std::string_view key : kRegionKeys)
        text += std::string(key) + "=" + std::string(key) + ".ndx\r\n";
    return text;
}

}  // namespace zendari::build
