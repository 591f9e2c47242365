// The engine's own texts are written in UTF-8 in the sources and shown in CP949, the code
// page every text of the control is in.
#pragma once

#include <string>
#include <string_view>

#include "data/Cp949.h"

namespace zendari {

// `utf8` in CP949; the bytes unchanged if they do not convert (never the case for our texts).
inline std::string cp949_text(std::string_view utf8) {
    auto converted = utf8_to_cp949(utf8);
    return converted ? std::move(*converted) : std::string(utf8);
}

// The caption of the control's messages that name no caption of their own.
inline constexpr std::string_view kApplicationTitle = "Zendari";

}  // namespace zendari
