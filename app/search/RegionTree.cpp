#include "RegionTree.h"

namespace search {

QString areaName(int areaNumber) {
    static const char* const kNames[kAreaCount] = {
        "서울(과천/광명)", "부산/울산/경남", "대구/경북", "인천/경기", "광주/전남",
        "대전/충남",       "강원",           "충북",      "전북",      "제주"};
    return areaNumber >= 0 && areaNumber < kAreaCount ? QString::fromUtf8(kNames[areaNumber])
                                                      : QString();
}

std::optional<RegionNode> RegionTreeBuilder::add(int level, const QString& name,
                                                 const QString& code) {
    RegionNode node;
    node.text = name;
    node.hasChildren = true;
    switch (level) {
        case 1: {
            const qsizetype colon = code.indexOf(QLatin1Char(':'));
            node.key = QLatin1Char('!') + (colon < 0 ? code : code.mid(colon + 1));
            m_lastKey[1] = node.key;
            return node;
        }
        case 2:
            if (m_lastKey[1].isEmpty()) return std::nullopt;
            node.key = QLatin1Char('@') + code;
            node.parentKey = m_lastKey[1];
            m_lastKey[2] = node.key;
            return node;
        case 3:
            if (m_lastKey[2].isEmpty()) return std::nullopt;
            node.key = QLatin1Char('#') + code;
            node.parentKey = m_lastKey[2];
            node.hasChildren = code.size() <= 4;
            if (node.hasChildren) m_lastKey[3] = node.key;
            return node;
        case 4:
            if (m_lastKey[3].isEmpty()) return std::nullopt;
            node.key = QLatin1Char('$') + code;
            node.parentKey = m_lastKey[3];
            node.hasChildren = false;
            return node;
        default:
            return std::nullopt;
    }
}

}  // namespace search
