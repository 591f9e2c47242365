// Profile files (Quenby.INI, Halvern.ini): any bytes read through the profile reader and the
// control's data location. A value never exceeds its buffer, and a directory always ends in
// the separator.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "FuzzInput.h"
#include "ProfileFile.h"
#include "data/TelEnvironment.h"

using telvia::fuzz::check;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text = telvia::fuzz::as_text(data, size);
    std::string value;
    for (const char* section : {"TELEPHONE_ENVIRONMENT", "INSTALL", ""}) {
        for (const char* key : {"TelDataPath", "SRCDISK", "인명", ""})
            (void)telvia::find_profile_value(text, section, key, value);
    }
    const telvia::fuzz::MemoryFile file(text);
    for (std::size_t buffer : {0, 1, 2, 50, 260}) {
        const std::string v =
            telvia::GetPrivateProfileString("INSTALL", "SRCDISK", "NULL", buffer, file.path());
        check(buffer == 0 ? v.empty() : v.size() < buffer);
    }
    const zendari::TelEnvironment env(file.path());
    const std::string data_dir = env.data_directory();
    check(!data_dir.empty() && data_dir.back() == '/');
    check(data_dir.size() <= 260);
    const std::string master = env.data_file_path("인명");
    check(master.empty() || master.starts_with(data_dir));
    (void)env.index_file_path("SEOUL");
    return 0;
}
