// Made-up memo entries for the tests and their child processes (no test framework needed).
#pragma once

#include <vector>

#include "MemoFormat.h"

// `n` entries of a mode whose cells name `tag` and their number; every third leaves its
// postcode empty (stored as NULL).
inline std::vector<MemoEntry> makeEntries(MemoMode mode, int n, const QString& tag) {
    std::vector<MemoEntry> out;
    for (int i = 1; i <= n; ++i) {
        const QString k = QString::number(i);
        MemoEntry e{tag + k, QStringLiteral("(02)%1-%2").arg(100 + i % 900).arg(1000 + i),
                    i % 3 == 0 ? QString() : QStringLiteral("110-%1").arg(100 + i % 900),
                    QStringLiteral("서울 종로구 %1동 %2").arg(tag).arg(k)};
        if (mode == MemoMode::Business) {
            e << QStringLiteral("음식점") << QStringLiteral("부서%1").arg(k);
        }
        e << (i % 2 ? QStringLiteral("메모 ") + tag : QString());
        out.push_back(std::move(e));
    }
    return out;
}
