#include "data/DongData.h"

#include <cstdio>
#include <cstring>

#include "common/ControlHost.h"
#include "common/Text.h"
#include "data/TelEnvironment.h"

namespace zendari {

bool DongData::open(const TelEnvironment& env, ControlHost& host) {
    const std::string index_path = env.index_file_path("ZKWD");
    if (open_index(index_path.c_str(), handle_, 0, 0) == 0) {
        host.show_message(kApplicationTitle, cp949_text("ERROR:DATA 동 인덱스 이상 !"));
        return false;
    }
    if (!table_.open(env.index_file_path("ZCOD"), env.index_file_path("ZIDX"))) {
        host.show_message(kApplicationTitle,
                          cp949_text(table_.status() == FileWindow::kNoMemory
                                         ? "ERROR:DONGDB 메모리가 부족합니다"
                                         : "ERROR:DONGDB 동테이블 파일이 없습니다."));
        return false;
    }
    return true;
}

std::optional<std::string> DongData::name(std::int32_t code, ControlHost& host) {
    const std::string* found = name_ref(code, host);
    if (found == nullptr) return std::nullopt;
    return *found;
}

const std::string* DongData::name_ref(std::int32_t code, ControlHost& host) {
    if (const auto it = names_.find(code); it != names_.end()) return &it->second;
    std::snprintf(key_.text, sizeof key_.text, "%ld", static_cast<long>(code));
    if (find_key(key_, handle_) == 0) {
        host.show_message("ERROR !", cp949_text("DATA ERROR 동코드가 없습니다 !"));
        return &no_name_;
    }
    const DongTable::Entry entry = table_.entry(key_.value);
    if (entry.text.empty()) {
        host.show_message("CODE ERROR !", cp949_text("동코드가 리턴되지 않음 !"));
        return nullptr;
    }
    // Map nodes stay put, so the returned address outlives later insertions.
    return &names_.emplace(code, dong_name_of_entry(entry.text)).first->second;
}

}  // namespace zendari
