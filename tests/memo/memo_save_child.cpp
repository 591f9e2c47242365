// A child process for the kill tests: it overwrites the people pad "KILL" of the data folder
// with 3000 entries and is killed (SIGKILL) by its parent or by itself in the middle.
//   memo_save_child DAT SETTINGS loop      saves the entries "나", then "가", ... until killed;
//                                          prints "ready" once the store is open
//   memo_save_child DAT SETTINGS kill-at N saves the entries "나" and kills itself just
//                                          before the N-th call into the engine
#include <QSettings>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "DatabaseFault.h"
#include "MemoEntries.h"
#include "MemoStore.h"

int main(int argc, char** argv) {
    if (argc < 4) return 2;
    strDatPath = QString::fromLocal8Bit(argv[1]);
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, QString::fromLocal8Bit(argv[2]));
    MemoStore store(MemoMode::People);
    if (store.open() != MemoStore::OpenResult::Opened) return 3;
    const auto older = makeEntries(MemoMode::People, memo::kMaxEntries, QStringLiteral("가"));
    const auto newer = makeEntries(MemoMode::People, memo::kMaxEntries, QStringLiteral("나"));

    if (std::strcmp(argv[3], "kill-at") == 0 && argc > 4) {
        const long at = std::atol(argv[4]);
        telvia::db_fault::reset();
        telvia::db_fault::set_observer([at](std::int64_t n) {
            if (n == at) std::raise(SIGKILL);
        });
        return store.savePad(QStringLiteral("KILL"), newer, true).code == 0 ? 0 : 4;
    }
    std::puts("ready");
    std::fflush(stdout);
    for (bool next = true;; next = !next) {
        if (store.savePad(QStringLiteral("KILL"), next ? newer : older, true).code != 0) return 4;
    }
}
