// Whole-file reads and field splitting for the tests that check what the generator wrote.
#pragma once

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

namespace sample_test {

inline std::string slurp(const std::filesystem::path& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Every field, empty ones included: "a::b" splits into three.
inline std::vector<std::string> split(std::string_view line, char sep) {
    std::vector<std::string> out;
    while (true) {
        const auto p = line.find(sep);
        out.emplace_back(line.substr(0, p));
        if (p == std::string_view::npos) return out;
        line = line.substr(p + 1);
    }
}

}  // namespace sample_test
