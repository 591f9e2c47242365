// The sample directory through the name-search control, as the main program uses it: the
// control starts on the installed CD, the locally served areas give the same subscribers as
// the local table, and the excluded record comes back in exactly the two configured forms.
#include <algorithm>
#include <cstdlib>
#include <string>
#include <tuple>
#include <vector>

#include <gtest/gtest.h>

#include "Database.h"
#include "Geography.h"
#include "SampleDatabases.h"
#include "SampleRun.h"
#include "SampleSubscriber.h"
#include "data/Cp949.h"
#include "scan/ProcessReaders.h"
#include "scan/ZendariCore.h"

namespace {

using namespace sample_test;
using namespace zendari::sample;

class QuietHost : public zendari::ControlHost {
public:
    std::vector<std::string> messages;
    void show_message(std::string_view caption, std::string_view text) override {
        messages.push_back(std::string(caption) + ": " + std::string(text));
    }
    void scan_begin(std::string_view, std::string_view, std::int32_t) override {}
    bool scan_step(std::int32_t, std::string_view) override { return false; }
    void scan_end() override {}
};

std::string utf8(std::string_view cp949) {
    return zendari::cp949_to_utf8(cp949).value_or("?");
}
std::string cp949(std::string_view utf8) {
    return zendari::utf8_to_cp949(utf8).value_or("?");
}

class ControlOnSample : public InstalledSample {
protected:
    void SetUp() override {
        InstalledSample::SetUp();
        if (IsSkipped() || HasFatalFailure()) return;
        setenv("WINDIR", (root() / "windows").c_str(), 1);
        zendari::reset_process_readers_for_testing();
        core_ = std::make_unique<zendari::ZendariCore>(host_);
        core_->set_init_db(1);
        ASSERT_EQ(core_->init_db(), 1);
    }
    void TearDown() override {
        core_.reset();
        zendari::reset_process_readers_for_testing();
    }
    // Every record string (UTF-8) of a region, name by name as the main program reads them.
    std::vector<std::string> all_records(std::int32_t region) {
        std::vector<std::string> records;
        core_->set_local(region);
        EXPECT_EQ(core_->local(), region);
        core_->find_key("");
        for (std::string entry = core_->get_next(); entry != "vbROF"; entry = core_->get_next()) {
            const auto f = split(entry, ':');
            EXPECT_EQ(f.size(), 4u) << utf8(entry);
            if (f.size() != 4u) break;
            const int count = std::stoi(f[2]);
            core_->set_result(std::stoi(f[1]), count);
            for (int k = 0; k < count; ++k) records.push_back(utf8(core_->get_result()));
        }
        return records;
    }

    QuietHost host_;
    std::unique_ptr<zendari::ZendariCore> core_;
};

using Row =
    std::tuple<std::string, std::string, std::string, std::string, std::string, std::string>;

// A record string turned into a local-table row the way the result list shows it: the line
// number as four digits, the address from the dong name's words, the lot and the detail.
Row row_of_record(const std::string& name, const std::string& record) {
    const auto f = split(record, ':');
    if (f.size() != 7 || !f[6].ends_with('\n')) return {};
    const std::string phone = f[4].substr(0, f[4].find('/'));
    const std::string suffix =
        f[4].find('/') == std::string::npos ? "" : f[4].substr(f[4].find('/'));
    const std::string exchange = phone.substr(0, phone.find('-'));
    std::string line = phone.substr(phone.find('-') + 1);
    line.insert(0, line.size() < 4 ? 4 - line.size() : 0, '0');
    std::string address = f[1].substr(f[1].find(')') + 2);
    if (!f[2].empty()) address += " " + f[2];
    const std::string detail = f[6].substr(0, f[6].size() - 1);
    if (!detail.empty()) address += " " + detail;
    return {name, f[0], f[3].substr(1), exchange + "-" + line + suffix, f[5], address};
}

TEST_F(ControlOnSample, LocalAreasMatchTheLocalTable) {
    // The names come from the region index walk: the name entry precedes its records.
    std::vector<Row> from_cd;
    core_->set_local(84);
    ASSERT_EQ(core_->local(), 84);
    core_->find_key("");
    for (std::string entry = core_->get_next(); entry != "vbROF"; entry = core_->get_next()) {
        const auto f = split(entry, ':');
        ASSERT_EQ(f.size(), 4u);
        const int count = std::stoi(f[2]);
        core_->set_result(std::stoi(f[1]), count);
        for (int k = 0; k < count; ++k) {
            const std::string record = utf8(core_->get_result());
            ASSERT_TRUE(record.starts_with("84") || record.starts_with("65")) << record;
            from_cd.push_back(row_of_record(utf8(f[0]), record));
        }
    }
    telvia::Database db;
    ASSERT_TRUE(telvia::Database::open(root() / "program" / "chb.cad", kLocalSecret,
                                       telvia::OpenShare::kExclusive, telvia::OpenAccess::kReadOnly,
                                       db)
                    .ok());
    telvia::Recordset rs;
    ASSERT_TRUE(db.open_recordset("SELECT * FROM inchbuk", rs).ok());
    std::vector<Row> local;
    for (rs.move_first(); !rs.eof(); rs.move_next())
        local.emplace_back(rs.text("Name"), rs.text("dongCode"), rs.text("ddd"), rs.text("tel"),
                           rs.text("Zip"), rs.text("address"));
    std::sort(from_cd.begin(), from_cd.end());
    std::sort(local.begin(), local.end());
    EXPECT_GT(local.size(), 300u);
    EXPECT_EQ(from_cd, local);
    EXPECT_TRUE(host_.messages.empty()) << host_.messages.front();
}

TEST_F(ControlOnSample, ExcludedRecordComesBackInBothConfiguredForms) {
    const Geography geo = build_geography();
    const SampleSubscriber sample = sample_subscriber(geo);
    const std::string by_code = excluded_record_text(sample, geo);
    const std::string by_name = excluded_scan_record_text(sample, geo);

    const auto seoul = all_records(10);
    EXPECT_EQ(std::count(seoul.begin(), seoul.end(), by_code + "\n"), 1)
        << "the name search returns the excluded record once, as configured";

    const std::string scan =
        utf8(core_->get_loc_sung(std::to_string(sample.listing.dong_code), 30000, cp949("홍")));
    const auto items = split(scan, '|');
    EXPECT_EQ(std::count(items.begin(), items.end(), by_name + "\n"), 1) << scan;
    EXPECT_TRUE(host_.messages.empty()) << host_.messages.front();
}

TEST_F(ControlOnSample, EveryRegionOpensAndEveryRecordHasItsDongName) {
    std::size_t total = 0;
    for (std::int32_t region : {10, 11, 12, 13, 14, 15, 16, 70, 72, 74, 76, 78, 80, 82, 84, 86}) {
        SCOPED_TRACE(region);
        const auto records = all_records(region);
        EXPECT_FALSE(records.empty());
        for (const auto& r : records) {
            const auto f = split(r, ':');
            ASSERT_EQ(f.size(), 7u) << r;
            ASSERT_TRUE(f[1].starts_with("(")) << r;
            EXPECT_EQ(index_region_of_dong(static_cast<std::uint32_t>(std::stoul(f[0]))), region)
                << r;
        }
        total += records.size();
    }
    EXPECT_EQ(total, static_cast<std::size_t>(kSubscribers));
    EXPECT_TRUE(host_.messages.empty()) << host_.messages.front();
}

}  // namespace
