// A whole directory CD through the control: the master, filter, Seoul index, dong files,
// a block file with its offset table, the postings and the manifest come from the input
// (the other region indexes from a small sample CD), and every search of the control runs on
// them. Whatever the files hold, and however they disagree with each other, the control
// answers or refuses without reading outside a file.
#include <array>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "FuzzInput.h"
#include "SampleCd.h"
#include "data/Cp949.h"
#include "scan/ProcessReaders.h"
#include "scan/ZendariCore.h"

namespace {

namespace fs = std::filesystem;

// Where each part of the input goes, in the order of the seed (fuzz/make-seeds.sh).
constexpr std::array<const char*, 10> kParts = {
    "data/names.rec", "index/names.flt", "index/SEOUL.ndx", "index/dong.kwd", "index/dong.cod",
    "index/dong.idx", "data/10_1.dll",   "data/10_1.lof",   "index/dong.pst", "index/cd.manifest"};

class QuietHost final : public zendari::ControlHost {
public:
    void show_message(std::string_view, std::string_view) override {}
    void scan_begin(std::string_view, std::string_view, std::int32_t) override {}
    bool scan_step(std::int32_t, std::string_view) override { return false; }
    void scan_end() override {}
};

// The CD folder: the sample's region indexes, Quenby.INI naming the folder.
const std::string& cd_folder() {
    static const std::string folder = [] {
        const std::string sample = telvia::fuzz::sample_cd();
        const std::string root = telvia::fuzz::scratch_folder() + "/fuzzed-cd";
        fs::create_directories(root + "/data");
        fs::create_directories(root + "/index");
        for (const auto& e : fs::directory_iterator(sample + "/index"))
            if (e.path().extension() == ".ndx")
                fs::copy_file(e.path(), root + "/index/" + e.path().filename().string(),
                              fs::copy_options::overwrite_existing);
        fs::copy_file(sample + "/data/human.cod", root + "/data/human.cod",
                      fs::copy_options::overwrite_existing);
        std::string profile = "[TELEPHONE_ENVIRONMENT]\r\nTelDataPath=" + root +
                              "/data/\r\nTelDataPath2=" + root + "/index/\r\n";
        profile += "인명=names.rec\r\n인명FLT=names.flt\r\nZKWD=dong.kwd\r\nZCOD=dong.cod\r\n";
        profile += "ZIDX=dong.idx\r\nZPOST=dong.pst\r\nMANIFEST=cd.manifest\r\n";
        for (const char* key : {"SEOUL", "PUSAN", "INCHON", "KWANGJU", "TAEGU", "TAEJON", "ULSAN",
                                "KANGWON", "KYONGGI", "KYONGNAM", "KYONGBUK", "CHONNAM", "CHONBUK",
                                "CHUNGNAM", "CHUNGBUK", "CHEJU"})
            profile += std::string(key) + "=" + key + ".ndx\r\n";
        telvia::fuzz::put_file("fuzzed-cd/Quenby.INI", profile);
        ::setenv("WINDIR", root.c_str(), 1);
        return root;
    }();
    return folder;
}

void list(zendari::ZendariCore& core, std::int32_t first, std::int32_t count) {
    core.set_result(first, count);
    for (std::int32_t k = 0; k < count && k < 40; ++k) (void)core.get_result();
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    cd_folder();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto parts = telvia::fuzz::split_parts(telvia::fuzz::as_text(data, size), kParts.size());
    for (std::size_t i = 0; i < kParts.size(); ++i)
        telvia::fuzz::put_file(std::string("fuzzed-cd/") + kParts[i], parts[i]);
    zendari::reset_process_readers_for_testing();
    QuietHost host;
    zendari::ZendariCore core(host);
    core.set_init_db(1);
    const std::string kim = *zendari::utf8_to_cp949("김");
    for (const std::int32_t region : {10, 11}) {
        core.set_local(region);
        for (const std::string& key : {std::string(), kim, std::string("\xB0\xA1")}) {
            core.find_key(key);
            for (int n = 0; n < 8; ++n) {
                const std::string entry = core.get_next();
                if (entry == "vbROF") break;
                int first = 0, count = 0;
                if (std::sscanf(entry.c_str(), "%*[^:]:%d:%d:", &first, &count) == 2)
                    list(core, first, count);
            }
        }
        for (const auto& [first, count] :
             {std::pair{0, 1}, {-5, 3}, {1, 100000}, {2147483647, 2}, {100001, 1}})
            list(core, first, count);
        (void)core.get_all_result("10010101");
        (void)core.get_loc_next("100101", 50);
        (void)core.get_loc_next("100101", 50);
        (void)core.get_loc_sung("11020103", 50, kim);
    }
    return 0;
}
