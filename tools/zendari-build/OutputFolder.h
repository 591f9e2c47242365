// Where a CD is built and how it takes the place of DIR, so that at every instant DIR holds
// the whole earlier CD or the whole new one, whatever stops the build.
//
// A DIR that does not exist yet is the build folder renamed into place. A DIR that exists
// keeps its own folder (a mount point, the caller's working folder): the CD is built in a
// hidden folder inside it. Into an empty DIR the folders move first and Quenby.INI last.
// Over an earlier CD the new folders go inside data/ and index/ under a hidden generation
// name, and one rename of Quenby.INI, which names the folders, switches to the new CD; its
// files then take the folders' own names and a second rename of Quenby.INI names those.
// What a killed build leaves behind, the next build removes.
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
    // earlier CD (or what a stopped build left) and nothing else. Otherwise false with `why`
    // set; nothing is touched.
    [[nodiscard]] bool usable(std::string& why) const;
    // Removes what builds of processes that no longer run left: their build folders beside
    // or inside DIR, and inside DIR's data and index folders the generations that Quenby.INI
    // does not name.
    void remove_leftovers();
    // Where the CD's files are written until `commit`.
    const std::filesystem::path& building() const { return building_; }
    // Makes the build folder. The writer creates only entries inside it, never the folder
    // itself, so once an interrupt has taken the folder away nothing can bring it back.
    // False with `error` set when it cannot be made; after an interrupt it waits for the
    // interrupt to end the program.
    [[nodiscard]] bool create_building(std::string& error);
    // Puts the finished CD in DIR, replacing an earlier one. False with `error` set when DIR
    // is as before (the build folder is left for `discard`). True once DIR holds the new CD;
    // `note` then says when tidying up after the switch failed (the CD is whole, under its
    // generation name, and the next build finishes the tidying).
    [[nodiscard]] bool commit(std::string& error, std::string& note);
    // Removes the build folder and whatever it holds. After an interrupt it waits for the
    // interrupt to end the program instead (the folder is gone already).
    void discard();
    // From now on Ctrl-C, a hang-up or a kill (SIGINT, SIGHUP, SIGTERM) removes the build
    // folder before the program ends. Call it before any other thread starts: threads inherit
    // the blocked signals, which one waiting thread takes.
    void discard_on_interrupt();

private:
    [[noreturn]] static void await_interrupt_end();
    bool commit_into_empty(std::string& error);
    bool commit_over_earlier(std::string& error, std::string& note);

    std::filesystem::path root_;
    std::filesystem::path building_;
    std::string generation_;  // the new CD's hidden folder name inside data/ and index/
    bool in_place_ = false;   // DIR existed when the build began
    // Shared with the thread that waits for an interrupt. The mutex is held while the build
    // folder is made or put in place, so an interrupt never cuts either in two.
    struct Placing {
        std::mutex mutex;
        bool interrupted = false;
    };
    std::shared_ptr<Placing> placing_ = std::make_shared<Placing>();
};

}  // namespace zendari::build
