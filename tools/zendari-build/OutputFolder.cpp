#include "OutputFolder.h"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <set>
#include <string_view>
#include <system_error>
#include <thread>
#include <utility>
#include <vector>

#include <pthread.h>
#include <signal.h>
#include <unistd.h>

#include "CdWriter.h"
#include "Disk.h"
#include "ProfileFile.h"

namespace zendari::build {
namespace {

namespace fs = std::filesystem;

// Hidden entries of ours. Inside DIR: the CD being built (and the earlier CD on its way out,
// left by older builders). Inside DIR's data and index folders: the generation folders of a
// new CD and the temporary second name of one of its files.
constexpr std::string_view kBuildingPrefix = ".zendari-build-";
constexpr std::string_view kOldPrefix = ".zendari-old-";
constexpr std::string_view kGenerationPrefix = ".zendari-";
constexpr std::string_view kProfileName = "Quenby.INI";

// The process number that follows `prefix` in `name`, or 0.
pid_t pid_after(std::string_view name, std::string_view prefix) {
    if (!name.starts_with(prefix)) return 0;
    pid_t pid = 0;
    for (std::size_t i = prefix.size(); i < name.size() && name[i] >= '0' && name[i] <= '9'; ++i)
        pid = pid * 10 + (name[i] - '0');
    return pid;
}

// Whether a process of that number runs (ours counts); a number that names none is a
// leftover. A process of another user that happens to hold the number counts as running.
bool running(pid_t pid) {
    return pid <= 0 || pid == ::getpid() || ::kill(pid, 0) == 0 || errno == EPERM;
}

std::vector<std::string> entry_names(const fs::path& dir, std::error_code& ec) {
    std::vector<std::string> names;
    for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec))
        names.push_back(it->path().filename().string());
    return names;
}

std::vector<std::string> entry_names(const fs::path& dir) {
    std::error_code ec;
    return entry_names(dir, ec);
}

// Whether `name` in DIR is what a build of a process that no longer runs left there.
bool dead_build_leftover(std::string_view name) {
    for (const std::string_view prefix : {kBuildingPrefix, kOldPrefix}) {
        if (name.starts_with(prefix)) return !running(pid_after(name, prefix));
    }
    return false;
}

bool is_build_leftover(std::string_view name) {
    return name.starts_with(kBuildingPrefix) || name.starts_with(kOldPrefix);
}

// The folders DIR's Quenby.INI names as the CD's data and index folders.
std::set<fs::path> named_folders(const fs::path& root) {
    std::string text, error, value;
    std::set<fs::path> named;
    if (!telvia::read_profile_file(root / kProfileName, text, error)) return named;
    for (const char* key : {"TelDataPath", "TelDataPath2"}) {
        if (telvia::find_profile_value(text, "TELEPHONE_ENVIRONMENT", key, value))
            named.insert(fs::path(value).lexically_normal().parent_path());
    }
    return named;
}

void remove_quietly(const fs::path& path) {
    std::error_code ec;
    fs::remove_all(path, ec);
}

// Gives every file of `generation` its own name in `folder` (a second name, then a rename
// over the earlier file, so each name always holds a whole file), then removes what the new
// CD does not have. False with `error` set when a step fails.
bool take_names(const fs::path& folder, const fs::path& generation, const std::string& temporary,
                std::string& error) {
    std::error_code ec;
    const std::vector<std::string> fresh = entry_names(generation, ec);
    if (ec) {
        error = "cannot list " + generation.string() + ": " + ec.message();
        return false;
    }
    const fs::path link = folder / temporary;
    for (const std::string& name : fresh) {
        remove_quietly(link);
        if (!link_file(generation / name, link, error) || !rename_entry(link, folder / name, error))
            return false;
    }
    const std::set<std::string> keep(fresh.begin(), fresh.end());
    for (const std::string& name : entry_names(folder)) {
        if (!keep.contains(name) && !name.starts_with(kGenerationPrefix))
            remove_quietly(folder / name);
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
    const auto now = std::chrono::system_clock::now().time_since_epoch();
    generation_ = std::string(kGenerationPrefix) + pid + "-" +
                  std::to_string(std::chrono::duration_cast<std::chrono::nanoseconds>(now).count());
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
    bool profile = false, cd_folders = false, dead_build = false;
    for (const std::string& name : names) {
        if (name == kProfileName) {
            profile = true;
        } else if (name == "data" || name == "index") {
            cd_folders = true;
        } else if (is_build_leftover(name)) {
            dead_build = dead_build || dead_build_leftover(name);
        } else {
            why = root_.string() + " is a folder that holds other files (" + name +
                  "); refusing to overwrite it";
            return false;
        }
    }
    // Without Quenby.INI the folders are a stopped build's, when one left its folder beside.
    if (cd_folders && !profile && !dead_build) {
        why = root_.string() + " holds a data or index folder without Quenby.INI; " +
              "refusing to overwrite it";
        return false;
    }
    return true;
}

void OutputFolder::remove_leftovers() {
    // A new DIR is built beside it.
    const std::string sibling = "." + root_.filename().string() + ".building-";
    for (const std::string& name : entry_names(root_.parent_path())) {
        if (name.starts_with(sibling) && !running(pid_after(name, sibling)))
            remove_quietly(root_.parent_path() / name);
    }
    if (!in_place_) return;
    bool dead_build = false;
    for (const std::string& name : entry_names(root_)) {
        if (dead_build_leftover(name)) {
            remove_quietly(root_ / name);
            dead_build = true;
        }
    }
    std::error_code ec;
    if (dead_build && !fs::exists(root_ / kProfileName, ec)) {
        // That build stopped while it moved its folders into an empty DIR.
        remove_quietly(root_ / "data");
        remove_quietly(root_ / "index");
        return;
    }
    const std::set<fs::path> named = named_folders(root_);
    for (const fs::path& folder : {root_ / "data", root_ / "index"}) {
        for (const std::string& name : entry_names(folder)) {
            if (name.starts_with(kGenerationPrefix) &&
                !running(pid_after(name, kGenerationPrefix)) && !named.contains(folder / name))
                remove_quietly(folder / name);
        }
    }
}

bool OutputFolder::create_building(std::string& error) {
    {
        const std::lock_guard placing(placing_->mutex);
        if (!placing_->interrupted) return make_folder(building_, error);
    }
    await_interrupt_end();
}

bool OutputFolder::commit(std::string& error, std::string& note) {
    const std::lock_guard placing(placing_->mutex);
    if (!in_place_) {
        if (rename_entry(building_, root_, error)) return true;
        error = "cannot move the CD into place: " + error;
        return false;
    }
    std::error_code ec;
    const bool earlier = fs::exists(root_ / kProfileName, ec);
    if (!(earlier ? commit_over_earlier(error, note) : commit_into_empty(error))) {
        error = "cannot move the CD into " + root_.string() + ": " + error;
        return false;
    }
    return true;
}

bool OutputFolder::commit_into_empty(std::string& error) {
    // The folders first; Quenby.INI, which makes DIR a CD, last.
    std::vector<std::string> moved;
    for (const char* entry : {"data", "index", "Quenby.INI"}) {
        if (!rename_entry(building_ / entry, root_ / entry, error)) {
            std::error_code ignored;
            for (const std::string& back : moved)
                fs::rename(root_ / back, building_ / back, ignored);
            return false;
        }
        moved.push_back(entry);
    }
    remove_quietly(building_);
    return true;
}

bool OutputFolder::commit_over_earlier(std::string& error, std::string& note) {
    const fs::path data = root_ / "data", index = root_ / "index";
    const fs::path data_next = data / generation_, index_next = index / generation_;
    const fs::path next_profile = building_ / "Quenby.INI.next";
    std::error_code ec;
    for (const fs::path& folder : {data, index}) {
        if (!fs::is_directory(folder, ec) && !make_folder(folder, error)) return false;
    }
    // The new CD beside the earlier one, under its generation name, and a Quenby.INI that
    // names it; renaming that over DIR's Quenby.INI is the one instant the CD changes.
    const auto undo = [&] {
        std::error_code ignored;
        fs::rename(data_next, building_ / "data", ignored);
        fs::rename(index_next, building_ / "index", ignored);
        return false;
    };
    if (!rename_entry(building_ / "data", data_next, error)) return false;
    if (!rename_entry(building_ / "index", index_next, error)) return undo();
    if (!write_file(next_profile, profile_text(data_next, index_next), error) ||
        !sync_entry(next_profile, error) ||
        !rename_entry(next_profile, root_ / kProfileName, error))
        return undo();

    // DIR holds the new CD. Its files take the folders' own names, and Quenby.INI names
    // those; a failure here leaves the CD whole under its generation name.
    const std::string temporary = generation_ + "-link";
    std::string why;
    if (!take_names(data, data_next, temporary, why) ||
        !take_names(index, index_next, temporary, why) ||
        !rename_entry(building_ / kProfileName, root_ / kProfileName, why)) {
        note = "the new CD is in " + data_next.string() + " and " + index_next.string() + " (" +
               why + "); the next build tidies up";
        remove_quietly(building_);
        return true;
    }
    // Our generation folders go, and those of builds that stopped (another build that still
    // runs keeps its own).
    for (const fs::path& folder : {data, index}) {
        for (const std::string& name : entry_names(folder)) {
            const pid_t owner = pid_after(name, kGenerationPrefix);
            if (name.starts_with(kGenerationPrefix) && (owner == ::getpid() || !running(owner)))
                remove_quietly(folder / name);
        }
    }
    remove_quietly(building_);
    return true;
}

void OutputFolder::discard() {
    {
        const std::lock_guard placing(placing_->mutex);
        if (!placing_->interrupted) {
            remove_quietly(building_);
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
