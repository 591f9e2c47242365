// telvia-sample --subscribers N [--seed S] [--names common|diverse] --out DIR
// Generates a sample national directory: listings, the CD built from them, the databases
// beside the program and the settings of the windows folder (layout: SampleInstall.h).
#include <charconv>
#include <chrono>
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>

#include "BusinessListing.h"
#include "Geography.h"
#include "ListingsWriter.h"
#include "SampleDatabases.h"
#include "SampleInstall.h"
#include "SampleSubscriber.h"

namespace {

using namespace zendari::sample;
using telvia::Status;

// The CD format numbers its line blocks up to this many records.
constexpr std::uint64_t kMaxSubscribers = 11'900'000;

constexpr const char* kUsage =
    "usage: telvia-sample --subscribers N [--seed S] [--names common|diverse] --out DIR\n"
    "  N    number of subscribers, 1 to 11900000\n"
    "  S    seed of the generator (a whole number, default 1); the same seed gives the\n"
    "       same directory\n"
    "  --names diverse  draws given names from a much wider pool of syllables, so that most\n"
    "       names are rare (over a million distinct names in the largest region at full\n"
    "       size); the default, common, repeats the popular names\n"
    "  DIR  folder that receives cd/, windows/, program/ and listings/\n";

struct Options {
    std::uint64_t subscribers = 0;
    std::uint64_t seed = 1;
    NamePool names = NamePool::kCommon;
    std::string out;
};

std::optional<std::uint64_t> parse_number(std::string_view text) {
    std::uint64_t v = 0;
    auto [p, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
    if (text.empty() || ec != std::errc{} || p != text.data() + text.size()) return std::nullopt;
    return v;
}

// Returns an error text, or "" when the options are good.
std::string parse_options(int argc, char** argv, Options& o) {
    bool have_subscribers = false;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg != "--subscribers" && arg != "--seed" && arg != "--names" && arg != "--out")
            return "unknown option '" + std::string(arg) + "'";
        if (i + 1 >= argc) return "option " + std::string(arg) + " needs a value";
        const std::string_view value = argv[++i];
        if (arg == "--out") {
            if (value.empty()) return "--out needs a folder";
            o.out = value;
        } else if (arg == "--names") {
            if (value != "common" && value != "diverse")
                return "--names: expected common or diverse, got '" + std::string(value) + "'";
            o.names = value == "diverse" ? NamePool::kDiverse : NamePool::kCommon;
        } else if (arg == "--seed") {
            auto v = parse_number(value);
            if (!v) return "--seed: not a whole number: '" + std::string(value) + "'";
            o.seed = *v;
        } else {
            auto v = parse_number(value);
            if (!v || *v < 1 || *v > kMaxSubscribers)
                return "--subscribers: expected a number from 1 to 11900000, got '" +
                       std::string(value) + "'";
            o.subscribers = *v;
            have_subscribers = true;
        }
    }
    if (!have_subscribers) return "--subscribers is required";
    if (o.out.empty()) return "--out is required";
    return {};
}

class Progress {
public:
    void step(std::uint64_t done, std::uint64_t total) {
        const int tenth = static_cast<int>(done * 10 / total);
        if (tenth == last_ && done != total) return;
        last_ = tenth;
        std::fprintf(stderr, "telvia-sample: listings %llu of %llu (%d%%), %.1f s\n",
                     static_cast<unsigned long long>(done), static_cast<unsigned long long>(total),
                     static_cast<int>(done * 100 / total), elapsed());
    }
    double elapsed() const {
        return std::chrono::duration<double>(std::chrono::steady_clock::now() - start_).count();
    }

private:
    std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
    int last_ = -1;
};

int fail(const Status& s) {
    std::fprintf(stderr, "telvia-sample: %s\n", s.message().c_str());
    return 1;
}

}  // namespace

int main(int argc, char** argv) {
    Options options;
    if (argc == 2 && (std::string_view(argv[1]) == "--help" || std::string_view(argv[1]) == "-h")) {
        std::fputs(kUsage, stdout);
        return 0;
    }
    if (std::string error = parse_options(argc, argv, options); !error.empty()) {
        std::fprintf(stderr, "telvia-sample: %s\n%s", error.c_str(), kUsage);
        return 2;
    }

    const SampleLayout layout(options.out);
    if (Status s = prepare_layout(layout); !s.ok()) return fail(s);

    Progress progress;
    const Geography geo = build_geography();
    if (Status s = write_area_codes(geo, layout.area_db); !s.ok()) return fail(s);

    LocalListingWriter local;
    if (Status s = local.open(layout.local_db); !s.ok()) return fail(s);
    ListingsRequest request;
    request.listings = layout.listings;
    request.dongs = layout.dongs;
    request.subscribers = options.subscribers;
    request.seed = options.seed;
    request.names = options.names;
    request.progress = [&](std::uint64_t done, std::uint64_t total) { progress.step(done, total); };
    request.local = [&](const Listing& l, const DongInfo& d) { return local.add(l, d); };
    if (Status s = write_listings(geo, request); !s.ok()) return fail(s);
    if (Status s = local.finish(); !s.ok()) return fail(s);
    std::fprintf(stderr, "telvia-sample: %zu dongs, %llu local listings, %.1f s; building the CD\n",
                 geo.dongs.size(), static_cast<unsigned long long>(local.rows()),
                 progress.elapsed());

    if (Status s = build_cd(builder_beside_self(), layout); !s.ok()) return fail(s);
    const SampleSubscriber sample = sample_subscriber(geo);
    if (Status s = install_windows_folder(layout, excluded_record_text(sample, geo),
                                          excluded_scan_record_text(sample, geo));
        !s.ok())
        return fail(s);
    // The sample business-directory library reads its listing beside itself.
    if (Status s = write_business_listing(geo, options.seed, layout.program / "VarlinkSample.tsv");
        !s.ok())
        return fail(s);
    std::fprintf(stderr, "telvia-sample: done in %.1f s: %s\n", progress.elapsed(),
                 layout.root.c_str());
    return 0;
}
