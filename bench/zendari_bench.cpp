// Benchmark of the name-search engine on a full-size sample directory, beside SQLite asked
// the same three questions: a keystroke of the name box, the records of a ~200-record name,
// and one dong's page over every name of the largest region. Prints each figure with its
// ratio to SQLite and the engine's heap. Run through `make bench`, never from the tests.
#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <functional>
#include <iostream>
#include <map>
#include <random>
#include <string>
#include <vector>

#include <malloc.h>
#include <sqlite3.h>

#include "SqliteDirectory.h"
#include "data/Cp949.h"
#include "scan/ZendariCore.h"

namespace {

using Clock = std::chrono::steady_clock;
using zendari::bench::SqliteDirectory;

class BenchHost final : public zendari::ControlHost {
public:
    void show_message(std::string_view caption, std::string_view text) override {
        std::cerr << "control message: " << zendari::cp949_to_utf8(caption).value_or("?") << ": "
                  << zendari::cp949_to_utf8(text).value_or("?") << "\n";
    }
    void scan_begin(std::string_view, std::string_view, std::int32_t) override {}
    bool scan_step(std::int32_t, std::string_view) override { return false; }
    // Like a host that updates its bar a few dozen times a second: a run of names the engine
    // passes over at once costs one call, and one progress text.
    std::int32_t scan_steps(std::int32_t, std::int32_t last,
                            const std::function<std::string_view(std::int32_t)>& text_of) override {
        (void)text_of(last);
        return 0;
    }
    void scan_end() override {}
};

// Heap in use by everything but SQLite, which keeps its own count; the yardstick's page
// cache must not be charged to the engine.
std::size_t heap_in_use() {
    const struct mallinfo2 mi = mallinfo2();
    const auto sqlite = static_cast<std::size_t>(sqlite3_memory_used());
    const std::size_t all = mi.uordblks + mi.hblkhd;
    return all > sqlite ? all - sqlite : 0;
}

template <class F>
double time_us(F&& f) {
    const auto t0 = Clock::now();
    f();
    return std::chrono::duration<double, std::micro>(Clock::now() - t0).count();
}

double median(std::vector<double> v) {
    if (v.empty()) return 0;
    std::nth_element(v.begin(), v.begin() + v.size() / 2, v.end());
    return v[v.size() / 2];
}

struct Row {
    std::string what;
    double ours_us, sqlite_us;
    std::string target;
};

void print_table(const std::vector<Row>& rows, std::size_t heap_peak) {
    std::cout << "\n| operation | engine | SQLite | SQLite / engine | target |\n"
              << "|---|---|---|---|---|\n";
    for (const Row& r : rows) {
        auto fmt = [](double us) {
            char b[64];
            if (us >= 1000)
                std::snprintf(b, sizeof b, "%.2f ms", us / 1000);
            else
                std::snprintf(b, sizeof b, "%.2f µs", us);
            return std::string(b);
        };
        char ratio[32] = "-";
        if (r.sqlite_us > 0 && r.ours_us > 0)
            std::snprintf(ratio, sizeof ratio, "%.1f×", r.sqlite_us / r.ours_us);
        std::cout << "| " << r.what << " | " << fmt(r.ours_us) << " | "
                  << (r.sqlite_us > 0 ? fmt(r.sqlite_us) : "-") << " | " << ratio << " | "
                  << r.target << " |\n";
    }
    std::cout << "\nengine heap in use at its peak: " << heap_peak / (1024 * 1024)
              << " MiB (mapped files not counted; target under 256 MiB)\n";
}

}  // namespace

int main(int argc, char** argv) {
    std::map<std::string, std::string> opt;
    for (int i = 1; i + 1 < argc; i += 2) opt[argv[i]] = argv[i + 1];
    for (const char* need : {"--windir", "--listings", "--dongs", "--sqlite"}) {
        if (!opt.count(need)) {
            std::cerr << "usage: zendari-bench --windir DIR --listings L.tsv --dongs D.tsv "
                         "--sqlite DB [--scan-only 1]\n";
            return 2;
        }
    }
    SqliteDirectory sql(opt["--sqlite"], opt["--listings"], opt["--dongs"]);
    if (!sql.ok()) return 1;
    const std::size_t heap_at_start = heap_in_use();

    setenv("WINDIR", opt["--windir"].c_str(), 1);
    BenchHost host;
    zendari::ZendariCore core(host);
    core.set_init_db(1);
    if (core.init_db() != 1) {
        std::cerr << "the engine did not initialise on " << opt["--windir"] << "\n";
        return 1;
    }
    std::size_t heap_peak = heap_in_use() - heap_at_start;
    auto note_heap = [&] { heap_peak = std::max(heap_peak, heap_in_use() - heap_at_start); };

    // The largest region and, in it, a name of about 200 records and a dong of about 2,300.
    const auto pick = zendari::bench::pick_workload(sql);
    std::cout << "largest region " << pick.region << ": " << pick.region_records << " records, "
              << pick.region_names << " names; name of " << pick.name_count << " records; dong "
              << pick.dong << " of " << pick.dong_count << " records\n";
    std::vector<Row> rows;
    const bool scan_only = opt["--scan-only"] == "1";

    // A keystroke: select the region, position on the typed text, fetch 30 names.
    if (!scan_only) {
        std::vector<double> ours, theirs;
        for (const std::string& typed_utf8 : pick.typed) {
            const std::string typed = zendari::utf8_to_cp949(typed_utf8).value_or("");
            ours.push_back(time_us([&] {
                core.set_local(pick.region);
                core.find_key(typed);
                for (int i = 0; i < 30; ++i)
                    if (core.get_next() == "vbROF") break;
            }));
            theirs.push_back(time_us([&] { sql.names_from(pick.region, typed_utf8); }));
        }
        note_heap();
        rows.push_back({"keystroke (SetLocal, FindKey, 30 × GetNext), median of " +
                            std::to_string(pick.typed.size()),
                        median(ours), median(theirs), "< 10 µs, ≥ 5×"});
    }

    // The records of one name, including the first call after SetResult.
    if (!scan_only) {
        const std::string name = zendari::utf8_to_cp949(pick.name).value_or("");
        core.set_local(pick.region);
        core.find_key(name);
        const std::string entry = core.get_next();
        const auto c1 = entry.find(':'), c2 = entry.find(':', c1 + 1);
        const int first = std::atoi(entry.c_str() + c1 + 1);
        const int count = std::atoi(entry.c_str() + c2 + 1);
        std::vector<double> ours, theirs;
        std::size_t bytes = 0;
        for (int rep = 0; rep < 30; ++rep) {
            ours.push_back(time_us([&] {
                core.set_result(first, count);
                for (int i = 0; i < count; ++i) bytes += core.get_result().size();
            }));
            theirs.push_back(
                time_us([&] { bytes += sql.records_of(pick.region, pick.name).size(); }));
        }
        note_heap();
        rows.push_back({"name of " + std::to_string(count) + " records (SetResult + GetResult × n)",
                        median(ours), median(theirs), "< 0.5 ms, ≥ 2×"});
    }

    // One dong's page over every name of the region. A page of 0 names on another dong in
    // between makes each measured page start from the first name again.
    auto dong_page = [&](zendari::ZendariCore& c, std::size_t& matches) {
        const std::string loc = std::to_string(pick.dong);
        const std::string other = std::to_string(pick.dong + 1);
        std::vector<double> times;
        for (int rep = 0; rep < 5; ++rep) {
            c.set_local(pick.region);
            c.get_loc_next(other, 0);
            std::string r;
            times.push_back(time_us([&] { r = c.get_loc_next(loc, 390000); }));
            matches = static_cast<std::size_t>(std::count(r.begin(), r.end(), '|'));
        }
        return median(times);
    };
    {
        std::size_t matches = 0;
        const double ours = dong_page(core, matches);
        note_heap();
        std::vector<double> theirs;
        std::size_t sql_matches = 0;
        for (int rep = 0; rep < 5; ++rep)
            theirs.push_back(time_us([&] { sql_matches = sql.dong_listing(pick.dong).size(); }));
        if (matches != sql_matches)
            std::cerr << "warning: the engine found " << matches << " records, SQLite "
                      << sql_matches << "\n";
        rows.push_back({"dong page of 390,000 names (" + std::to_string(matches) + " matches)",
                        ours, median(theirs), "≥ 3×"});
    }
    print_table(rows, heap_peak);
    return 0;
}
