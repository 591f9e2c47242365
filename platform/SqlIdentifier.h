// A table or field name made safe to stand in SQL text: in double quotes, inner quotes
// doubled. Names come from the program, but a pad name a user typed may become a table name.
#pragma once

#include <string>
#include <string_view>

namespace telvia {

inline std::string quote_identifier(std::string_view name) {
    std::string out = "\"";
    for (char c : name) {
        if (c == '"') out += '"';
        out += c;
    }
    return out + "\"";
}

}  // namespace telvia
