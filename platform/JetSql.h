// The Jet SQL dialect the program's statements are written in, turned into SQLite's:
//   DELETE * FROM t ...          -> DELETE FROM t ...
//   SELECT cols INTO t FROM ...  -> CREATE TABLE t AS SELECT cols FROM ...
//   "text" (a Jet string)        -> 'text'
//   x Like '김*'                 -> x LIKE '김%' ESCAPE '\'   (* -> %, ? -> _, [*] -> *)
// Everything else passes through unchanged; [bracketed] names are understood by SQLite.
// Callers apply it explicitly: db.execute(translate_jet_sql(sql)).
#pragma once

#include <string>
#include <string_view>

namespace telvia {

std::string translate_jet_sql(std::string_view jet_sql);

// A Jet Like pattern as a SQLite LIKE pattern with "\" as escape character, for patterns
// bound as parameters: "... LIKE ? ESCAPE '\'". Literal % and _ are escaped.
std::string jet_like_pattern(std::string_view pattern);

}  // namespace telvia
