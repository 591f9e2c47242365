#include "OutputFolder.h"

#include <csignal>
#include <string_view>
#include <system_error>
#include <thread>
#include <utility>
#include <vector>

#include <pthread.h>
#include <signal.h>
#include <unistd.h>

namespace zendari::build {
namespace {

namespace fs = std::filesystem;

// Hidden folders inside an existing DIR: the CD being built, and the earlier CD on its way out.
constexpr std::string_view kBuildingPrefix = ".zendari-build-";
constexpr std::string_view kOldPrefix = ".zendari-old-";

bool is_leftover(std::string_view name) {
    return name.starts_with(kBuildingPrefix) || name.starts_with(kOldPrefix);
}

std::vector<std::string> entry_names(const fs::path& dir, std::error_code& ec) {
    std::vector<std::string> names;
    for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec))
        names.push_back(it->path().filename().string());
    return names;
}

// Moves the named entries from one folder to another; on failure moves back those already
// moved and returns false.
bool move_entries(const std::vector<std::string>& names, const fs::path& from, const fs::path& to,
                  std::error_code& ec) {
    for (std::size_t i = 0; i < names.size(); ++i) {
        fs::rename(from / names[i], to / names[i], ec);
        if (ec) {
            std::error_code ignored;
            while (i-- > 0) fs::rename(to / names[i], from / names[i], ignored);
            return false;
        }
    }
    return true;
}

}  // namespace

OutputFolder::OutputFolder(fs::path root) : root_(std::move(root)) {
    std::error_code ec;
    in_place_ = fs::is_directory(root_, ec);
    const std::string pid = std::to_string(::getpid());
    building_ = in_place_
                    ? root_ / (std::string(kBuildingPrefix) + pid)
                    : root_.parent_path() / ("." + root_.filename().string() + ".building-" + pid);
}

bool OutputFolder::usable(std::string& why) const {
    std::error_code ec;
    const fs::file_status status = fs::status(root_, ec);
    if (status.type() == fs::file_type::not_found) return true;
    if (ec) {
        why = "cannot look at " + root_.string() + ": " + ec.message();
        return false;
    }
    if (!fs::is_directory(status)) {
        why = root_.string() + " exists and is not a folder";
        return false;
    }
    const std::vector<std::string> names = entry_names(root_, ec);
    if (ec) {
        why = "cannot list " + root_.string() + ": " + ec.message();
        return false;
    }
    // An earlier CD is Quenby.INI with its data and index folders; a folder that merely holds
    // a Quenby.INI (a windows folder, say) is not one.
    bool profile = false, cd_folders = false;
    for (const std::string& name : names) {
        if (name == "Quenby.INI") {
            profile = true;
        } else if (name == "data" || name == "index") {
            cd_folders = true;
        } else if (!is_leftover(name)) {
            why = root_.string() + " is a folder that holds other files (" + name +
                  "); refusing to overwrite it";
            return false;
        }
    }
    if (cd_folders && !profile) {
        why = root_.string() + " holds a data or index folder without Quenby.INI; " +
              "refusing to overwrite it";
        return false;
    }
    return true;
}

bool OutputFolder::create_building(std::string& error) {
    {
        const std::lock_guard placing(placing_->mutex);
        if (!placing_->interrupted) {
            std::error_code ec;
            fs::create_directory(building_, ec);
            if (ec) error = "cannot create " + building_.string() + ": " + ec.message();
            return !ec;
        }
    }
    await_interrupt_end();
}

bool OutputFolder::commit(std::string& error) {
    const std::lock_guard placing(placing_->mutex);
    std::error_code ec;
    if (!in_place_) {
        fs::rename(building_, root_, ec);
        if (ec) error = "cannot move the CD into " + root_.string() + ": " + ec.message();
        return !ec;
    }
    const fs::path old = root_ / (std::string(kOldPrefix) + std::to_string(::getpid()));
    fs::create_directory(old, ec);
    std::vector<std::string> earlier = ec ? std::vector<std::string>{} : entry_names(root_, ec);
    std::erase_if(earlier, [&](const std::string& name) {
        return name == building_.filename() || name == old.filename();
    });
    const std::vector<std::string> fresh =
        ec ? std::vector<std::string>{} : entry_names(building_, ec);
    // The earlier CD (and what interrupted runs left) goes aside, then the new CD moves in.
    if (!ec && move_entries(earlier, root_, old, ec)) {
        if (move_entries(fresh, building_, root_, ec)) {
            fs::remove(building_, ec);
            fs::remove_all(old, ec);
            return true;
        }
        std::error_code ignored;
        move_entries(earlier, old, root_, ignored);
    }
    error = "cannot move the CD into " + root_.string() + ": " + ec.message();
    std::error_code ignored;
    fs::remove(old, ignored);  // only when empty: it never takes the earlier CD with it
    return false;
}

void OutputFolder::discard() {
    {
        const std::lock_guard placing(placing_->mutex);
        if (!placing_->interrupted) {
            std::error_code ec;
            fs::remove_all(building_, ec);
            return;
        }
    }
    await_interrupt_end();
}

void OutputFolder::await_interrupt_end() {
    // The interrupt's thread has taken the folder away (which is why the writer failed) and
    // ends the program by the signal; a plain exit here would report a write error instead.
    for (;;) ::pause();
}

void OutputFolder::discard_on_interrupt() {
    sigset_t signals;
    sigemptyset(&signals);
    for (int s : {SIGINT, SIGHUP, SIGTERM}) {
        // A signal ignored by whoever started us (nohup, a background job) stays ignored.
        struct sigaction current {};
        if (sigaction(s, nullptr, &current) == 0 && current.sa_handler != SIG_IGN)
            sigaddset(&signals, s);
    }
    if (pthread_sigmask(SIG_BLOCK, &signals, nullptr) != 0) return;
    std::thread([signals, building = building_, placing = placing_] {
        int sig = 0;
        if (sigwait(&signals, &sig) != 0) return;
        {
            const std::lock_guard lock(placing->mutex);
            placing->interrupted = true;  // the folder is not made after this
            // Renamed first, so the writer can create nothing more in it.
            fs::path gone = building;
            gone += ".cancelled";
            std::error_code ec;
            fs::rename(building, gone, ec);
            fs::remove_all(ec ? building : gone, ec);
        }
        // End the way the signal would have ended the program.
        std::signal(sig, SIG_DFL);
        sigset_t one;
        sigemptyset(&one);
        sigaddset(&one, sig);
        pthread_sigmask(SIG_UNBLOCK, &one, nullptr);
        std::raise(sig);
    }).detach();
}

}  // namespace zendari::build
