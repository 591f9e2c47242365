// What a host checks of the control library before the system loader maps it: a truncated
// or foreign file must be refused with a message, never handed to the loader, which dies
// with SIGBUS when a segment it maps lies past the end of the file.
#pragma once

#include <string>

namespace zendari {

// "" when `path` is a complete ELF shared object for this machine: a regular file whose
// header, program headers, loadable segments and section headers all lie inside it.
// Otherwise why not, in words for a message. Never blocks (a FIFO is refused).
std::string why_not_a_library(const std::string& path);

}  // namespace zendari
