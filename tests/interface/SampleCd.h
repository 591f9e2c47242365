// The listings most control tests share: two Seoul-index names (one of them in 과천, whose
// records live in the Seoul index) and three Pusan names over two dongs.
#pragma once

#include "CdFixture.h"

inline QList<DongRow> sampleDongs() {
    return {{"10010101", "110030", "서울특별시 종로구 청운동"},
            {"72030101", "427010", "경기도 과천시 중앙동"},
            {"11020103", "612020", "부산광역시 해운대구 우동"},
            {"11020104", "612030", "부산광역시 해운대구 중동"}};
}

// Record numbers follow from the builder's order: Seoul first (최과천 1, 홍길동 2), then Pusan
// by name (김철수 3-5, 박영희 6, 이민호 7).
inline QList<Listing> sampleListings() {
    QList<Listing> l;
    l << Listing{"홍길동", "10010101", "02", 732, 1234, 0, 12, 0, "110030", "청운빌라 2층"};
    l << Listing{"최과천", "72030101", "02", 502, 45, 2, 0, 7, "427010", "과천주공 5단지"};
    l << Listing{"김철수", "11020103", "051", 742,      85,
                 0,        37,         209,   "612020", "해운대아파트 101동 1203호"};
    l << Listing{"박영희", "11020103", "051", 743, 1000, 0, 0, 0, "612020", ""};
    l << Listing{"김철수", "11020104", "051", 744, 9999, 3, 5, 0, "612030", "중동상가"};
    l << Listing{"이민호", "11020104", "051", 745, 1, 0, 0, 0, "612030", "마린시티"};
    l << Listing{"김철수", "11020103", "051", 746, 2, 0, 8, 1, "612020", "우동 1층"};
    return l;
}

inline QString uDong() {
    return QStringLiteral("(612-020) 부산광역시 해운대구 우동");
}
inline QString jungDong() {
    return QStringLiteral("(612-030) 부산광역시 해운대구 중동");
}
