// `zendari verify DIR`: checks every file of the directory CD at DIR against the CD's
// manifest (sizes and checksums) and names each damaged or missing file. Needs no control.
#pragma once

#include <ostream>
#include <string>

namespace zendari {

// Prints one "PATH: REASON" line per damaged file on `out` and a summary; messages about
// the CD itself on `err`. Returns 0 when every file is intact, 1 when some are damaged (or
// the manifest is), 2 when DIR cannot be checked (no Quenby.INI, no manifest).
int run_verify(const std::string& dir, std::ostream& out, std::ostream& err);

}  // namespace zendari
