// A small result value for the Qt-free platform layers: ok, or a code with a readable message.
// Nothing in these layers throws; every expected failure comes back as a Status.
#pragma once

#include <string>
#include <utility>

namespace telvia {

class [[nodiscard]] Status {
public:
    enum class Code {
        kOk,
        kNotFound,     // missing file, table or field
        kWrongSecret,  // the file is not a database, or the key does not open it
        kBusy,         // another connection holds a lock we need
        kReadOnly,     // a write on a read-only connection
        kExists,       // create refused: the file is already there
        kSqlError,     // the engine rejected the statement
        kMisuse,       // a call on a closed object or out of order (caller bug)
        kIoError,
    };

    Status() = default;
    Status(Code code, std::string message) : code_(code), message_(std::move(message)) {}
    static Status Ok() { return {}; }

    bool ok() const noexcept { return code_ == Code::kOk; }
    Code code() const noexcept { return code_; }
    const std::string& message() const noexcept { return message_; }

private:
    Code code_ = Code::kOk;
    std::string message_;
};

}  // namespace telvia
