// The rule for pad names, which become table names: at most 20 characters, each one an ASCII
// letter or digit, "_" or a double-byte character of code page 949 (Korean syllables and the
// rest of the code page's double-byte set). The store checks it on every path that reaches
// SQL, not only where the user types a name.
#pragma once

#include <QString>

namespace memo {

// The characters of `name` that the rule refuses, in order and joined by ","; "" when every
// character is allowed. A character code page 949 cannot write counts as refused.
QString findBadNameChars(const QString& name);

// Whether `name` may name a pad table: not empty, at most 20 characters, no refused
// character, and not a name the database keeps for itself (the catalogue, "sqlite_...").
bool isStorablePadName(const QString& name);

}  // namespace memo
