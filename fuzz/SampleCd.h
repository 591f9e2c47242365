// A small directory CD for the fuzz targets that drive the whole control: built once per
// process by the CD builder's own code from the listings below, in the scratch folder.
#pragma once

#include <cstdlib>
#include <string>

#include "CdWriter.h"
#include "FuzzInput.h"
#include "Listings.h"

namespace telvia::fuzz {

inline constexpr const char* kSampleDongs =
    "dong_code\tpostal_code\tname\n"
    "10010101\t110030\t서울특별시 종로구 청운동\n"
    "10010102\t110031\t서울특별시 종로구 신교동\n"
    "72030101\t427010\t경기도 과천시 중앙동\n"
    "11020103\t612020\t부산광역시 해운대구 우동\n"
    "11020104\t612030\t부산광역시 해운대구 중동\n";

inline constexpr const char* kSampleListings =
    "name\tdong_code\tarea_code\texchange\tline\tsuffix\tlot_main\tlot_sub\tpostal_code\tdetail\n"
    "홍길동\t10010101\t02\t732\t1234\t0\t12\t0\t110030\t청운빌라 2층\n"
    "김영희\t10010102\t02\t733\t5\t0\t0\t3\t110031\t\n"
    "김영희\t10010101\t02\t733\t6\t1\t4\t4\t110030\t신교 아파트 3동\n"
    "최과천\t72030101\t02\t502\t45\t2\t0\t7\t427010\t과천주공 5단지\n"
    "김철수\t11020103\t051\t742\t85\t0\t37\t209\t612020\t해운대아파트 101동 1203호\n"
    "박영희\t11020103\t051\t743\t1000\t0\t0\t0\t612020\t\n"
    "김철수\t11020104\t051\t744\t9999\t3\t5\t0\t612030\t중동상가\n"
    "이민호\t11020104\t051\t745\t1\t0\t0\t0\t612030\t마린시티\n"
    "김철수\t11020103\t051\t746\t2\t0\t8\t1\t612020\t우동 1층\n";

// Builds the sample CD (once) and returns its root; WINDIR names it, so the control finds
// its Quenby.INI there.
inline const std::string& sample_cd() {
    static const std::string root = [] {
        using namespace zendari::build;
        const std::string dir = scratch_folder() + "/cd";
        ListingSet set;
        std::string error;
        const bool read = read_dongs(put_file("sample-dongs.tsv", kSampleDongs), set, error) &&
                          read_listings(put_file("sample.tsv", kSampleListings), set, error, false);
        std::filesystem::create_directories(dir);
        if (!read || !write_cd(set, dir, dir, error, false)) {
            std::fprintf(stderr, "sample CD: %s\n", error.c_str());
            std::abort();
        }
        ::setenv("WINDIR", dir.c_str(), 1);
        return dir;
    }();
    return root;
}

}  // namespace telvia::fuzz
