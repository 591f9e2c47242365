#include "DatabaseFault.h"

#include <string>
#include <utility>

namespace telvia::db_fault {
namespace {

struct Seam {
    std::int64_t passed = 0;
    std::int64_t armed = 0;  // the point that fails; 0 when none
    std::function<void(std::int64_t)> observer;
};

Seam& seam() {
    static Seam s;
    return s;
}

}  // namespace

void reset() {
    seam() = Seam();
}

std::int64_t points() {
    return seam().passed;
}

void fail_at(std::int64_t n) {
    seam().armed = n > 0 ? seam().passed + n : 0;
}

void set_observer(std::function<void(std::int64_t)> observer) {
    seam().observer = std::move(observer);
}

Status pass_point(const char* what) {
    Seam& s = seam();
    const std::int64_t n = ++s.passed;
    if (s.observer) s.observer(n);
    if (n != s.armed) return Status::Ok();
    s.armed = 0;
    return {Status::Code::kIoError,
            "injected database fault at point " + std::to_string(n) + " (" + what + ")"};
}

}  // namespace telvia::db_fault
