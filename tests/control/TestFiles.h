// Small helpers for the engine tests: a temporary folder that cleans up after itself, file
// writing and reading, and a host that records the control's messages and progress.
#pragma once

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

#include <stdlib.h>

#include "TempDir.h"
#include "scan/ZendariCore.h"

namespace zendari::test {

using telvia::test::TempDir;

inline void write_file(const std::string& path, std::string_view bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

inline void write_file(const std::string& path, const std::vector<std::byte>& bytes) {
    write_file(path, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

inline std::string read_file(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// FNV-1a over a transcript: pins a long answer in one number, so a changed answer string
// anywhere in it fails the test that pins it.
inline std::uint64_t digest(std::string_view text) {
    std::uint64_t h = 14695981039346656037ull;
    for (const char c : text) h = (h ^ static_cast<unsigned char>(c)) * 1099511628211ull;
    return h;
}

// Records every message (converted to UTF-8 by the test when needed) and the scan calls;
// cancels the scan at step `cancel_at` when set.
class RecordingHost : public ControlHost {
public:
    struct Message {
        std::string caption, text;  // CP949
    };
    std::vector<Message> messages;
    std::vector<std::string> scan_titles, scan_texts, step_texts;
    std::vector<std::int32_t> totals;
    int ends = 0;
    std::int32_t cancel_at = -1;

    void show_message(std::string_view caption, std::string_view text) override {
        messages.push_back({std::string(caption), std::string(text)});
    }
    void scan_begin(std::string_view title, std::string_view text, std::int32_t total) override {
        scan_titles.emplace_back(title);
        scan_texts.emplace_back(text);
        totals.push_back(total);
    }
    bool scan_step(std::int32_t i, std::string_view text) override {
        step_texts.emplace_back(text);
        return i == cancel_at;
    }
    void scan_end() override { ++ends; }
};

}  // namespace zendari::test
