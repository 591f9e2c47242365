// Where a CD is built and how it takes the place of DIR. A DIR that does not exist yet is the
// build folder renamed into place. A DIR that exists (empty, or an earlier CD) keeps its own
// folder, which may be a mount point or the caller's working folder: the CD is built in a
// hidden folder inside it and its entries are swapped in once every file is written.
#pragma once

#include <filesystem>
#include <memory>
#include <mutex>
#include <string>

namespace zendari::build {

class OutputFolder {
public:
    // `root` is absolute and normal.
    explicit OutputFolder(std::filesystem::path root);

    // Whether DIR may receive the CD: missing, an empty folder, or a folder that holds an
    // earlier CD and nothing else. Otherwise false with `why` set; nothing is touched.
    [[nodiscard]] bool usable(std::string& why) const;
    // Where the CD's files are written until `commit`.
    const std::filesystem::path& building() const { return building_; }
    // Makes the build folder. The writer creates only entries inside it, never the folder
    // itself, so once an interrupt has taken the folder away nothing can bring it back.
    // False with `error` set when it cannot be made; after an interrupt it waits for the
    // interrupt to end the program.
    [[nodiscard]] bool create_building(std::string& error);
    // Puts the finished CD in DIR, replacing an earlier one. On failure DIR is as before and
    // `error` says why; the build folder is left for `discard`.
    [[nodiscard]] bool commit(std::string& error);
    // Removes the build folder and whatever it holds. After an interrupt it waits for the
    // interrupt to end the program instead (the folder is gone already).
    void discard();
    // From now on Ctrl-C, a hang-up or a kill (SIGINT, SIGHUP, SIGTERM) removes the build
    // folder before the program ends. Call it before any other thread starts: threads inherit
    // the blocked signals, which one waiting thread takes.
    void discard_on_interrupt();

private:
    [[noreturn]] static void await_interrupt_end();

    std::filesystem::path root_;
    std::filesystem::path building_;
    bool in_place_ = false;  // DIR existed when the build began
    // Shared with the thread that waits for an interrupt. The mutex is held while the build
    // folder is made or put in place, so an interrupt never cuts either in two.
    struct Placing {
        std::mutex mutex;
        bool interrupted = false;
    };
    std::shared_ptr<Placing> placing_ = std::make_shared<Placing>();
};

}  // namespace zendari::build
