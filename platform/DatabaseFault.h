// The database layer's fault seam, for tests: make one chosen call into the engine fail, so a
// test can prove that a routine refuses cleanly at every step of its work and leaves the
// stored data as it was.
//
// Every call this layer makes into the engine is one numbered point: compiling a statement,
// each step of a statement, each row a recordset reads, each script run (opening a file runs
// a few). Points are counted from the last reset(). A program that never calls fail_at() only
// pays for the counting.
//
//     telvia::db_fault::reset();
//     save_the_pad();                                 // a clean run
//     const std::int64_t n = telvia::db_fault::points();  // the points it passed
//     for (std::int64_t k = 1; k <= n; ++k) {
//         restore_the_pad();
//         telvia::db_fault::fail_at(k);                // the k-th point from now fails, once
//         EXPECT_FALSE(save_the_pad().ok());
//         telvia::db_fault::reset();
//     }
//
// The injected failure is Status::Code::kIoError with a message that names the point; the
// engine is not called for that point, so a write fails before it is made. Counters are
// process-wide and not thread-safe: the program uses its databases from one thread.
#pragma once

#include <cstdint>
#include <functional>

#include "Status.h"

namespace telvia::db_fault {

// Counts from zero again and disarms any failure and observer.
void reset();
// Points passed since the last reset().
std::int64_t points();
// Arms a failure at the n-th point after this call (n >= 1); it fires once.
void fail_at(std::int64_t n);
// Runs at every point with its number (since the last reset) before the point goes ahead: a
// child process of a test can kill itself there to stop work at an exact place.
void set_observer(std::function<void(std::int64_t)> observer);

// For the layer itself: counts one point and returns the injected failure when it is the
// armed one, else ok. `what` names the kind of call in the message.
Status pass_point(const char* what);

}  // namespace telvia::db_fault
