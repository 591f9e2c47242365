// Turns the rows of "areaCode" into region-tree nodes. Rows come in the table's order and
// every place follows its parent: a row's parent is the last row one level up (level 4
// hangs under the last level-3 place with a code of four characters or fewer).
#pragma once

#include <QString>
#include <array>
#include <optional>

namespace search {

struct RegionNode {
    QString key;        // marker "!", "@", "#" or "$" and the place's code
    QString parentKey;  // "" for a region at the top
    QString text;
    bool hasChildren;  // the picture "more"; else "one" (a leaf)
};

// The region box entries by area number 0-9.
QString areaName(int areaNumber);
inline constexpr int kAreaCount = 10;

class RegionTreeBuilder {
public:
    // The node for one row, or nothing when the row is skipped (another level, or no parent
    // read yet).
    std::optional<RegionNode> add(int level, const QString& name, const QString& code);

private:
    std::array<QString, 4> m_lastKey;  // parent key by level 1..3 (index 0 unused)
};

}  // namespace search
