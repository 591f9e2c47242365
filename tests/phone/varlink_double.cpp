// A business-directory library driven by a script, for the business search tests; loaded
// through the program's own binding in place of Varlink. Not a business directory.
//
// Each submit reads the script named by VARLINK_DOUBLE_SCRIPT (UTF-8, one instruction a
// line, fields separated by tabs) and appends the call to the file named by
// VARLINK_DOUBLE_LOG as "name<TAB>company<TAB>state<TAB>code" (decoded to UTF-8):
//   record<TAB>code<TAB>text    a record of that region code (in order)
//   count<TAB>code<TAB>n        what the submit returns for the code (default: its records)
//   rename<TAB>company          the submit overwrites the company-name buffer (up to its size)
//   endless                     isDone() never says done; getNext() ends with NULL
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "VarlinkAbi.h"
#include "data/Cp949.h"

namespace {

struct Script {
    std::vector<std::string> records;  // CP949, of the code last submitted
    int count = -1;
    std::string rename;  // CP949
    bool endless = false;
};

Script g_script;
std::size_t g_next = 0;

std::string utf8(const char* cp949) {
    return zendari::cp949_to_utf8(cp949).value_or("<not cp949>");
}

void log_call(const char* name, const char* company, const char* state, const char* code) {
    const char* path = std::getenv("VARLINK_DOUBLE_LOG");
    if (!path) return;
    std::ofstream(path, std::ios::app)
        << name << '\t' << utf8(company) << '\t' << utf8(state) << '\t' << utf8(code) << '\n';
}

int32_t submit(const char* name, char* company, char* state, char* code) {
    log_call(name, company, state, code);
    const std::string wanted = utf8(code);
    g_script = {};
    g_next = 0;
    const char* path = std::getenv("VARLINK_DOUBLE_SCRIPT");
    std::ifstream in(path ? path : "");
    for (std::string line; std::getline(in, line);) {
        const std::size_t t1 = line.find('\t');
        const std::string kind = line.substr(0, t1);
        const std::string rest = t1 == std::string::npos ? "" : line.substr(t1 + 1);
        const std::size_t t2 = rest.find('\t');
        const std::string key = rest.substr(0, t2);
        const std::string value = t2 == std::string::npos ? "" : rest.substr(t2 + 1);
        if (kind == "record" && key == wanted) {
            g_script.records.push_back(zendari::utf8_to_cp949(value).value_or(""));
        } else if (kind == "count" && key == wanted) {
            g_script.count = std::atoi(value.c_str());
        } else if (kind == "rename") {
            g_script.rename = zendari::utf8_to_cp949(rest).value_or("");
        } else if (kind == "endless") {
            g_script.endless = true;
        }
    }
    if (!g_script.rename.empty()) {
        const std::size_t room = std::strlen(company);
        std::strncpy(company, g_script.rename.c_str(), room);
        company[room] = '\0';
    }
    return g_script.count >= 0 ? g_script.count : static_cast<int32_t>(g_script.records.size());
}

}  // namespace

extern "C" {

__attribute__((visibility("default"))) int32_t comClickSubmit(char* company, char* state,
                                                              char* code) {
    return submit("comClickSubmit", company, state, code);
}

__attribute__((visibility("default"))) int32_t comRetSubmit(char* company, char* state,
                                                            char* code) {
    return submit("comRetSubmit", company, state, code);
}

__attribute__((visibility("default"))) int32_t isDone(void) {
    return !g_script.endless && g_next >= g_script.records.size();
}

__attribute__((visibility("default"))) char* getNext(void) {
    if (g_next >= g_script.records.size()) return nullptr;
    return strdup(g_script.records[g_next++].c_str());
}
}
