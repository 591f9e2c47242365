// VarlinkSample: a SAMPLE of the business-directory library "Varlink", so that the business
// search of a sample installation finds something. It is not the business directory: it
// searches the small invented listing that telvia-sample writes (VarlinkSample.tsv, UTF-8,
// layout in tools/telvia-sample/BusinessListing.h), found beside this library or at
// $VARLINK_SAMPLE_DATA. The calling contract is app/outside/VarlinkAbi.h.
//
// A region code selects the businesses whose 8-digit dong code begins with it ("10" Seoul,
// "1001" a district of it, a whole dong code one dong). The standard search lists the
// companies whose name begins with the text given, the word search those that contain it;
// an empty text lists them all. Records come in listing order.
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <dlfcn.h>

#include "VarlinkAbi.h"
#include "data/Cp949.h"

namespace {

struct Business {
    std::string company, category, postcode, address, area_code, number, department, dong_code;
};

std::vector<std::string> split_tabs(const std::string& line) {
    std::vector<std::string> fields;
    std::size_t from = 0;
    for (std::size_t tab; (tab = line.find('\t', from)) != std::string::npos; from = tab + 1) {
        fields.push_back(line.substr(from, tab - from));
    }
    fields.push_back(line.substr(from));
    return fields;
}

std::filesystem::path listing_path() {
    if (const char* configured = std::getenv("VARLINK_SAMPLE_DATA"); configured && *configured)
        return configured;
    Dl_info self{};
    if (::dladdr(reinterpret_cast<void*>(&listing_path), &self) && self.dli_fname)
        return std::filesystem::path(self.dli_fname).parent_path() / "VarlinkSample.tsv";
    return "VarlinkSample.tsv";
}

// The listing, read at the first query.
const std::vector<Business>& listing() {
    static const std::vector<Business> all = [] {
        std::vector<Business> rows;
        std::ifstream in(listing_path());
        std::string line;
        std::getline(in, line);  // header
        while (std::getline(in, line)) {
            const std::vector<std::string> f = split_tabs(line);
            if (f.size() != 8) continue;
            rows.push_back({f[0], f[1], f[2], f[3], f[4], f[5], f[6], f[7]});
        }
        return rows;
    }();
    return all;
}

// The result of the last query, handed out record by record.
std::vector<std::string> g_records;
std::size_t g_next = 0;

// company:category:(postcode) address:dong code:serial:T + 4-digit area code + "-" +
// number:department
std::string record_of(const Business& b, std::size_t serial) {
    const std::string area =
        std::string(4 - std::min<std::size_t>(4, b.area_code.size()), '0') + b.area_code;
    return b.company + ":" + b.category + ":(" + b.postcode + ") " + b.address + ":" + b.dong_code +
           ":" + std::to_string(serial) + ":T" + area + "-" + b.number + ":" + b.department;
}

int32_t query(const char* company_cp949, const char* code_cp949, bool word) {
    g_records.clear();
    g_next = 0;
    const std::string wanted = zendari::cp949_to_utf8(company_cp949).value_or("");
    std::string code = zendari::cp949_to_utf8(code_cp949).value_or("");
    code.erase(0, code.find_first_not_of(' '));
    code.erase(code.find_last_not_of(' ') + 1);
    if (code.empty()) return 0;
    const std::vector<Business>& all = listing();
    for (std::size_t i = 0; i < all.size(); ++i) {
        const Business& b = all[i];
        if (!b.dong_code.starts_with(code)) continue;
        const bool match =
            word ? b.company.find(wanted) != std::string::npos : b.company.starts_with(wanted);
        if (!match) continue;
        if (auto record = zendari::utf8_to_cp949(record_of(b, i + 1))) g_records.push_back(*record);
    }
    return static_cast<int32_t>(g_records.size());
}

}  // namespace

extern "C" {

__attribute__((visibility("default"))) int32_t comClickSubmit(char* company, char*, char* code) {
    return query(company, code, false);
}

__attribute__((visibility("default"))) int32_t comRetSubmit(char* company, char*, char* code) {
    return query(company, code, true);
}

__attribute__((visibility("default"))) int32_t isDone(void) {
    return g_next >= g_records.size();
}

__attribute__((visibility("default"))) char* getNext(void) {
    if (g_next >= g_records.size()) return nullptr;
    return ::strdup(g_records[g_next++].c_str());
}
}
