#include "ListingsWriter.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

#include "Population.h"
#include "SampleSubscriber.h"
#include "SubscriberGenerator.h"

namespace zendari::sample {
namespace {

using telvia::Status;

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};

// A file written through one large buffer; every failure (disk full included) is reported
// by finish().
class TextSink {
public:
    static constexpr std::size_t kFlushAt = 4 << 20;

    explicit TextSink(const std::filesystem::path& path)
        : path_(path), file_(std::fopen(path.c_str(), "wb")) {
        if (!file_) error_ = std::strerror(errno);
        buffer_.reserve(kFlushAt + 4096);
    }
    std::string& buffer() { return buffer_; }
    void maybe_flush() {
        if (buffer_.size() >= kFlushAt) flush();
    }
    Status finish() {
        flush();
        if (file_ && error_.empty()) {
            std::FILE* f = file_.release();
            if (std::fclose(f) != 0) error_ = std::strerror(errno);
        }
        if (!error_.empty())
            return Status(Status::Code::kIoError, "cannot write " + path_.string() + ": " + error_);
        return Status::Ok();
    }
    bool failed() const { return !error_.empty(); }

private:
    void flush() {
        if (file_ && error_.empty() && !buffer_.empty() &&
            std::fwrite(buffer_.data(), 1, buffer_.size(), file_.get()) != buffer_.size())
            error_ = std::strerror(errno);
        buffer_.clear();
    }

    std::filesystem::path path_;
    std::unique_ptr<std::FILE, FileCloser> file_;
    std::string buffer_;
    std::string error_;
};

}  // namespace

bool is_local_dong(std::uint32_t dong_code) {
    const std::uint32_t two = dong_code / 1000000;
    return two == 84 || two == 65;
}

Status write_listings(const Geography& geo, const ListingsRequest& request) {
    if (request.subscribers == 0)
        return Status(Status::Code::kMisuse, "at least one subscriber is needed");

    TextSink dongs(request.dongs);
    dongs.buffer() += kDongsHeader;
    for (const auto& d : geo.dongs) append_dong_line(d, dongs.buffer());
    if (Status s = dongs.finish(); !s.ok()) return s;

    TextSink out(request.listings);
    out.buffer() += kListingsHeader;
    const SampleSubscriber sample = sample_subscriber(geo);
    append_listing_line(sample.listing, out.buffer());
    std::uint64_t done = 1;

    const auto counts = allocate_subscribers(geo, request.subscribers - 1, request.seed);
    SubscriberGenerator generator(geo, request.seed, request.names);
    Listing l;
    constexpr std::uint64_t kProgressEvery = 250000;
    for (std::size_t d = 0; d < geo.dongs.size(); ++d) {
        if (counts[d] == 0) continue;
        const DongInfo& dong = geo.dongs[d];
        const bool local = request.local && is_local_dong(dong.code);
        generator.begin_dong(d);
        for (std::uint32_t k = 0; k < counts[d]; ++k) {
            generator.next(l);
            append_listing_line(l, out.buffer());
            if (local)
                if (Status s = request.local(l, dong); !s.ok()) return s;
            if (++done % kProgressEvery == 0 && request.progress)
                request.progress(done, request.subscribers);
        }
        out.maybe_flush();
        if (out.failed()) break;
    }
    if (request.progress) request.progress(done, request.subscribers);
    return out.finish();
}

}  // namespace zendari::sample
