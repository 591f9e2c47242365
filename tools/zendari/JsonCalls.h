// One JSON line, one late-bound call: {"member":"FindKey","args":["김"]} runs FindKey on the
// control and answers {"member":"FindKey","result":true}. {"member":"InitDB","put":1} writes
// a property; {"member":"SetLocal"} reads one. A line that is not a valid call answers
// {"error":"..."}.
#pragma once

#include <string>
#include <string_view>

#include "ZendariDispatch.h"

namespace zendari {

// Runs the call of one input line on `control` and returns the JSON answer line.
std::string run_json_call(DispatchObject& control, std::string_view line);

// JSON text of a message box the control showed: {"message":{"caption":...,"text":...}}.
std::string message_line(std::string_view caption_utf8, std::string_view text_utf8);

}  // namespace zendari
