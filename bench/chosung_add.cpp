// chosung-add --windir DIR: gives a directory CD that an older zendari-build wrote its
// consonant indexes (".cho" beside each region name index), made from the name indexes
// themselves, so `make bench` need not build its 11.9-million directories again. A region whose
// consonant index is already there and passes the control's checks is left as it is.
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include <stdlib.h>

#include "data/TelEnvironment.h"
#include "data/regions.h"
#include "index/ChosungIndex.h"
#include "index/ChosungWriter.h"
#include "index/IndexFile.h"
#include "index/index_format.h"

namespace {

using zendari::IndexFile;

// The region's names in key order without the end key, and their record counts.
bool read_names(const IndexFile& index, std::vector<std::string>& names,
                std::vector<std::uint32_t>& counts) {
    if (!index.values_ascending()) return false;
    for (std::uint32_t b = 0; b < index.block_count(); ++b) {
        zendari::IndexEntry key;
        for (std::uint64_t at = index.block_begin(b), end = index.block_end(b); at < end;) {
            at = index.decode(b, at, key);
            if (at == 0) return false;
            if (zendari::index_format::is_end_key(key.view())) return true;
            names.emplace_back(key.view());
            const auto ordinal = static_cast<std::uint32_t>(names.size() - 1);
            counts.push_back(
                static_cast<std::uint32_t>(index.value_at(ordinal + 1) - index.value_at(ordinal)));
        }
    }
    return false;  // no end key
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3 || std::string(argv[1]) != "--windir") {
        std::cerr << "usage: chosung-add --windir DIR   (DIR holds the CD's Quenby.INI)\n";
        return 2;
    }
    setenv("WINDIR", argv[2], 1);
    const zendari::TelEnvironment env;
    int status = 0;
    for (const std::string_view key : zendari::kRegionKeys) {
        const std::string path = env.index_file_path(key);
        const std::shared_ptr<const IndexFile> index = IndexFile::load(path);
        if (!index) {
            std::cerr << "chosung-add: " << path << " is no name index\n";
            status = 1;
            continue;
        }
        const std::string cho = zendari::chosung_path(path);
        if (zendari::ChosungIndex::load(cho, index)) continue;
        std::vector<std::string> names;
        std::vector<std::uint32_t> counts;
        if (!read_names(*index, names, counts)) {
            std::cerr << "chosung-add: " << path << " is no region name index\n";
            status = 1;
            continue;
        }
        const std::vector<std::string_view> views(names.begin(), names.end());
        const std::vector<std::byte> image = zendari::chosung_index_image(views, counts);
        const std::string temporary = cho + ".new";
        bool written = false;
        if (std::FILE* f = std::fopen(temporary.c_str(), "wb")) {
            written = std::fwrite(image.data(), 1, image.size(), f) == image.size();
            written = std::fclose(f) == 0 && written;
        }
        std::error_code ec;
        if (!written || (std::filesystem::rename(temporary, cho, ec), ec)) {
            std::cerr << "chosung-add: cannot write " << cho << "\n";
            std::filesystem::remove(temporary, ec);
            status = 1;
            continue;
        }
        std::cout << "chosung-add: " << cho << " (" << names.size() << " names)\n";
    }
    return status;
}
