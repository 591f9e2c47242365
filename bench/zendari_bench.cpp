// Benchmark of the name-search engine on a full-size directory, beside SQLite asked the same
// questions in the same run: keystrokes of the name box over every region (names, and names by
// their initial consonants), names of 150-250 records, whole dongs of several sizes page by
// page to the scan's end, and surname scans.
// Every engine answer's row count is checked against SQLite's. Prints each figure with its
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
#include "index/Chosung.h"
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
    double ratio_override = 0;  // a median of per-case ratios, where that is the figure
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
        if (r.ratio_override > 0)
            std::snprintf(ratio, sizeof ratio, "%.1f×", r.ratio_override);
        else if (r.sqlite_us > 0 && r.ours_us > 0)
            std::snprintf(ratio, sizeof ratio, "%.1f×", r.sqlite_us / r.ours_us);
        std::cout << "| " << r.what << " | " << (r.ours_us > 0 ? fmt(r.ours_us) : "-") << " | "
                  << (r.sqlite_us > 0 ? fmt(r.sqlite_us) : "-") << " | " << ratio << " | "
                  << r.target << " |\n";
    }
    std::cout << "\nengine heap in use at its peak: " << heap_peak / (1024 * 1024)
              << " MiB (mapped files not counted; target under 256 MiB)\n";
}

std::size_t count_items(const std::string& scan) {
    return static_cast<std::size_t>(std::count(scan.begin(), scan.end(), '|'));
}

std::string cp949(const std::string& utf8) {
    return zendari::utf8_to_cp949(utf8).value_or("");
}

// Row counts that differ between the engine and SQLite make a figure worthless: say so loudly
// and make the run fail.
int mismatches = 0;
void check_rows(const std::string& what, std::size_t ours, std::size_t theirs) {
    if (ours == theirs) return;
    ++mismatches;
    std::cerr << "ROW COUNT MISMATCH in " << what << ": engine " << ours << ", SQLite " << theirs
              << "\n";
}

}  // namespace

int main(int argc, char** argv) {
    std::map<std::string, std::string> opt;
    for (int i = 1; i + 1 < argc; i += 2) opt[argv[i]] = argv[i + 1];
    for (const char* need : {"--windir", "--listings", "--dongs", "--sqlite"}) {
        if (!opt.count(need)) {
            std::cerr << "usage: zendari-bench --windir DIR --listings L.tsv --dongs D.tsv "
                         "--sqlite DB [--scan-only 1] [--profile keystrokes|dongs [--seconds N]]\n";
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

    const auto w = zendari::bench::pick_workload(sql);
    std::cout << "largest region " << w.largest_region << ": " << w.region_records << " records, "
              << w.region_names << " names\n";
    std::vector<Row> rows;
    const bool scan_only = opt["--scan-only"] == "1";

    // Whole dong: every page of 390,000 names until the scan reaches the region's end.
    constexpr std::int32_t kPage = 390000;
    // Another place first, outside the time: the next listing starts over at the first name.
    auto start_over = [&](int region) {
        core.set_local(region);
        (void)core.get_loc_next("0", 0);
    };
    // Every page's call is timed, and its items counted after the clock stops, as SQLite's
    // rows are counted from the vector it returns. The page is then let go before the next
    // is asked for, as the main program lets each page go once it has listed it.
    struct DongRun {
        double us = 0;
        std::size_t items = 0;
        int pages = 0;
    };
    auto whole_dong = [&](int region, std::int32_t dong) {
        DongRun run;
        const std::string loc = std::to_string(dong);
        do {
            std::string page;
            run.us += time_us([&] {
                core.set_local(region);
                page = core.get_loc_next(loc, kPage);
            });
            run.items += count_items(page);
            ++run.pages;
        } while (!core.scan_ended() && run.pages < 1000);
        return run;
    };

    // The engine's side of one section alone, over and over for the given seconds, for
    // `perf record`: no SQLite in the profile, nothing printed but the count of rounds.
    if (opt.count("--profile")) {
        const std::string what = opt["--profile"];
        const double seconds = opt.count("--seconds") ? std::atof(opt["--seconds"].c_str()) : 10;
        std::size_t rounds = 0;
        const auto until = Clock::now() + std::chrono::duration<double>(seconds);
        while (Clock::now() < until) {
            if (what == "keystrokes") {
                for (const auto& t : w.typed) {
                    const std::string typed = cp949(t.text);
                    core.set_local(t.region);
                    core.find_key(typed);
                    for (int i = 0; i < 30; ++i)
                        if (core.get_next() == "vbROF") break;
                }
            } else if (what == "dongs") {
                for (const auto& d : w.dongs) {
                    start_over(d.region);
                    (void)whole_dong(d.region, d.code);
                }
            } else {
                std::cerr << "--profile: keystrokes or dongs\n";
                return 2;
            }
            ++rounds;
        }
        std::cout << what << ": " << rounds << " rounds\n";
        return 0;
    }

    if (scan_only) {  // the plain walk: one page over the largest region
        const auto& d = w.dongs[w.dongs.size() / 2];
        std::vector<double> times;
        std::size_t items = 0;
        for (int rep = 0; rep < 3; ++rep) {
            start_over(d.region);
            times.push_back(time_us([&] {
                core.set_local(d.region);
                items = count_items(core.get_loc_next(std::to_string(d.code), kPage));
            }));
        }
        rows.push_back({"first page of 390,000 names, plain walk (dong " + std::to_string(d.code) +
                            ", " + std::to_string(items) + " matches)",
                        median(times), 0, "< 150 ms"});
        note_heap();
        print_table(rows, heap_peak);
        return 0;
    }

    {  // keystrokes: SetLocal, FindKey, 30 × GetNext, typing listings of every region
        std::vector<double> ours, theirs;
        std::size_t our_rows = 0, their_rows = 0;
        for (int round = 0; round < 3; ++round) {
            for (const auto& t : w.typed) {
                const std::string typed = cp949(t.text);
                std::size_t n = 0;
                ours.push_back(time_us([&] {
                    core.set_local(t.region);
                    core.find_key(typed);
                    for (int i = 0; i < 30; ++i, ++n)
                        if (core.get_next() == "vbROF") break;
                }));
                std::size_t m = 0;
                theirs.push_back(time_us([&] { m = sql.names_from(t.region, t.text).size(); }));
                if (round == 0) {
                    our_rows += n;
                    their_rows += m;
                }
            }
        }
        check_rows("keystrokes", our_rows, their_rows);
        note_heap();
        rows.push_back({"keystroke (SetLocal, FindKey, 30 × GetNext), median of " +
                            std::to_string(ours.size()) + " over every region",
                        median(ours), median(theirs), "< 2 µs, ≥ 5×"});
    }

    {  // keystrokes by initials: SetLocal, FindChosung, 30 × GetNextChosung
        // The initials of the listings typed above, 1 to 4 of them, and each surname typed
        // whole before the rest of them (김ㅇㅅ).
        struct Typed {
            int region;
            std::string text;  // CP949
            bool mixed;
        };
        std::vector<Typed> typed;
        for (const auto& t : w.listed) {
            const std::string name = cp949(t.text);
            const std::string initials = zendari::chosung::consonants(name);
            std::vector<std::size_t> ends;  // where each character ends
            for (std::size_t at = 0; at < name.size();)
                ends.push_back(at +=
                               zendari::chosung::char_size(static_cast<unsigned char>(name[at])));
            for (std::size_t k = 0; k < ends.size() && k < 4; ++k) {
                typed.push_back({t.region, initials.substr(0, ends[k]), false});
                if (k > 0)
                    typed.push_back(
                        {t.region,
                         name.substr(0, ends[0]) + initials.substr(ends[0], ends[k] - ends[0]),
                         true});
            }
        }
        std::vector<double> ours[2], theirs[2];
        std::size_t our_rows = 0, their_rows = 0, differing = 0;
        for (int round = 0; round < 3; ++round) {
            for (const auto& t : typed) {
                std::size_t n = 0;
                ours[t.mixed].push_back(time_us([&] {
                    core.set_local(t.region);
                    core.find_chosung(t.text);
                    for (int i = 0; i < 30; ++i, ++n)
                        if (core.get_next_chosung() == "vbROF") break;
                }));
                std::vector<std::pair<std::string, int>> sql_names;
                theirs[t.mixed].push_back(
                    time_us([&] { sql_names = sql.names_by_initials(t.region, t.text); }));
                if (round > 0) continue;
                our_rows += n;
                their_rows += sql_names.size();
                // The same names with the same counts, in the same order (outside the time).
                core.find_chosung(t.text);
                for (const auto& [name, count] : sql_names) {
                    const std::string e = core.get_next_chosung();
                    const auto c1 = e.find(':'), c2 = e.find(':', c1 + 1);
                    if (e.substr(0, c1) != name || std::atoi(e.c_str() + c2 + 1) != count)
                        ++differing;
                }
            }
        }
        check_rows("keystrokes by initials", our_rows, their_rows);
        check_rows("names found by initials that differ", differing, 0);
        note_heap();
        const std::size_t mixed =
            std::count_if(typed.begin(), typed.end(), [](const Typed& t) { return t.mixed; });
        rows.push_back(
            {"keystroke by initials (SetLocal, FindChosung, 30 × GetNextChosung), "
             "ㄱ to ㄱㅇㅅㅎ, median of " +
                 std::to_string(3 * (typed.size() - mixed)) + " over every region",
             median(ours[0]), median(theirs[0]), "< 10 µs"});
        rows.push_back({"the same with the surname typed whole (김ㅇ, 김ㅇㅅ), median of " +
                            std::to_string(3 * mixed),
                        median(ours[1]), median(theirs[1]), ""});
    }

    {  // names of 150-250 records: SetResult + GetResult × n, the first call included
        std::vector<double> ours, theirs;
        std::size_t our_rows = 0, their_rows = 0;
        for (const auto& n : w.names) {
            core.set_local(n.region);
            core.find_key(cp949(n.name));
            const std::string entry = core.get_next();
            const auto c1 = entry.find(':'), c2 = entry.find(':', c1 + 1);
            const int first = std::atoi(entry.c_str() + c1 + 1);
            const int count = std::atoi(entry.c_str() + c2 + 1);
            for (int rep = 0; rep < 20; ++rep) {
                std::size_t got = 0;
                ours.push_back(time_us([&] {
                    core.set_result(first, count);
                    for (int i = 0; i < count; ++i) got += core.get_result().empty() ? 0 : 1;
                }));
                std::size_t theirs_got = 0;
                theirs.push_back(
                    time_us([&] { theirs_got = sql.records_of(n.region, n.name).size(); }));
                if (rep == 0) {
                    our_rows += got;
                    their_rows += theirs_got;
                }
            }
        }
        check_rows("names", our_rows, their_rows);
        note_heap();
        rows.push_back({"a name of 150–250 records (SetResult + GetResult × n), " +
                            std::to_string(w.names.size()) + " names",
                        median(ours), median(theirs), "≥ 2× (keep ~5×)"});
    }

    {  // whole dongs of rising size, the largest last
        std::vector<double> ratios;
        for (std::size_t k = 0; k < w.dongs.size(); ++k) {
            const auto& d = w.dongs[k];
            std::vector<double> ours, theirs;
            std::size_t items = 0, sql_items = 0;
            int pages = 0;
            for (int rep = 0; rep < 5; ++rep) {
                start_over(d.region);
                const DongRun run = whole_dong(d.region, d.code);
                ours.push_back(run.us);
                items = run.items;
                pages = run.pages;
                theirs.push_back(time_us([&] { sql_items = sql.dong_listing(d.code).size(); }));
            }
            check_rows("dong " + std::to_string(d.code), items, sql_items);
            note_heap();
            const double o = median(ours), t = median(theirs);
            ratios.push_back(t / o);
            const bool largest = k + 1 == w.dongs.size();
            rows.push_back({std::string(largest ? "the largest dong" : "a whole dong") + " (" +
                                std::to_string(items) + " rows, " + std::to_string(pages) +
                                " page" + (pages == 1 ? "" : "s") + ")",
                            o, t, largest ? "≥ 4×" : ""});
        }
        rows.push_back({"whole dongs: median of the ratios above", 0, 0, "≥ 5×", median(ratios)});
    }

    {  // surname scans in a dong of about 2,200 records
        const auto& d = w.surname_dong;
        for (const char* surname : {"김", "이", "박"}) {
            std::vector<double> ours, theirs;
            std::size_t items = 0, sql_items = 0;
            const std::string loc = std::to_string(d.code), sung = cp949(surname);
            for (int rep = 0; rep < 5; ++rep) {
                std::string scan;
                ours.push_back(time_us([&] {
                    core.set_local(d.region);
                    scan = core.get_loc_sung(loc, kPage, sung);
                }));
                items = count_items(scan);
                theirs.push_back(
                    time_us([&] { sql_items = sql.surname_listing(d.code, surname).size(); }));
            }
            check_rows(std::string("surname ") + surname, items, sql_items);
            note_heap();
            rows.push_back({std::string("surname ") + surname + " in a dong of " +
                                std::to_string(d.count) + " (" + std::to_string(items) +
                                " rows, GetLocSung)",
                            median(ours), median(theirs), "≥ 3×"});
        }
    }
    print_table(rows, heap_peak);
    if (mismatches != 0) {
        std::cerr << mismatches << " row count mismatch(es): the figures above do not compare\n";
        return 1;
    }
    return 0;
}
