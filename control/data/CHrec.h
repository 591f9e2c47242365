// The record reader: decodes master-file records and joins each with its detail line from
// the line block files. It reads sequentially from a record number set by seek(); the block
// it holds is always the block of the record being formatted, loaded when first needed.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "Status.h"
#include "common/MappedFile.h"
#include "data/record_format.h"

namespace zendari {

class LineBlock;

class CHrec {
public:
    // Opens the master file at `path`. On failure the status carries the control's message
    // (CP949) for the caller to show; the reader stays closed. Block files are looked up in
    // the data directory of Quenby.INI when a block is loaded.
    [[nodiscard]] telvia::Status init(const std::string& path);
    bool is_open() const noexcept { return opened_; }
    std::uint64_t master_size() const noexcept { return master_.size(); }

    // Sets the number of the record the next read returns. Without keep_block the detail
    // block in memory is discarded.
    void seek(std::int64_t record, bool keep_block);
    // Reads the next record and returns its subscriber record string
    // "lot:0area:exchange-line[/suffix]:postal:detail" (the detail keeps its line feed), and
    // moves on. Nullopt when the master file is not open or has no such record.
    std::optional<std::string> format();
    // The same, appended to `out`; false (nothing appended, the reader moved on) without a
    // record.
    bool format_into(std::string& out);
    // Passes over the next record.
    void skip() noexcept { ++record_; }
    void discard_block() noexcept { block_.reset(); }

    // Hints that record `number` is formatted soon, so a scan that knows its records ahead
    // overlaps their cache misses: the master record and where its detail line starts, then
    // the detail text. Only the block in memory is consulted; nothing is loaded or changed.
    void prefetch_record(std::int64_t number) const noexcept;
    void prefetch_detail(std::int64_t number) const noexcept;

    // The data directory the block files are loaded from is read from the profile at each
    // load, so an edit shows at the next call of the control. A scan is one call that loads
    // dozens of blocks: it reads the directory once and pins it here until it ends. While it
    // is pinned the blocks loaded are kept by number, since a dong page goes from block to
    // block every few matches; they are kept for the next scan too while the CD is held and
    // the directory is the same (a held CD's block files cannot give way to others).
    void pin_data_directory(std::string directory);
    void unpin_data_directory() noexcept {
        pinned_ = false;
        pinned_directory_.clear();
    }

    std::int64_t record_number() const noexcept { return record_; }
    std::optional<SubscriberRecord> record(std::int64_t number) const noexcept;

private:
    void append_detail(std::string& out);

    MappedFile master_;
    bool opened_ = false;
    std::int64_t record_ = 1;
    std::shared_ptr<const LineBlock> block_;
    std::int64_t block_number_ = -1;
    // The block of `number` when it is in memory: the one held, or one kept by the pin.
    const LineBlock* block_in_memory(std::int64_t number) const noexcept;

    std::string pinned_directory_;
    bool pinned_ = false;
    std::vector<std::shared_ptr<const LineBlock>> pinned_blocks_;  // by block number
    std::string blocks_directory_;   // the directory pinned_blocks_ came from
    std::uint64_t blocks_hold_ = 0;  // the file admission hold they were loaded under
};

}  // namespace zendari
