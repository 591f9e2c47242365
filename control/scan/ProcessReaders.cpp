#include "scan/ProcessReaders.h"

#include "common/FileAdmission.h"

namespace zendari {
namespace {

std::unique_ptr<ProcessReaders>& instance() {
    static std::unique_ptr<ProcessReaders> readers = std::make_unique<ProcessReaders>();
    return readers;
}

}  // namespace

ProcessReaders& process_readers() {
    return *instance();
}

void reset_process_readers_for_testing() {
    instance() = std::make_unique<ProcessReaders>();
    admit_all();  // a fresh process holds to no CD yet
}

}  // namespace zendari
