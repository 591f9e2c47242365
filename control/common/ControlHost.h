// What the engine asks of whoever hosts it: message boxes and the progress of a scan. The Qt
// control, the command-line host, the benchmark and the tests implement it, so the readers
// and the scans stay free of any GUI. All text is CP949.
#pragma once

#include <cstdint>
#include <functional>
#include <string_view>

namespace zendari {

class ControlHost {
public:
    virtual ~ControlHost() = default;

    // A modal message box owned by the control's window, OK button only.
    virtual void show_message(std::string_view caption, std::string_view text) = 0;

    // A scan runs between scan_begin and scan_end. `text` is the progress window's first
    // text; `total` is the page size (the bar runs from 0 to total).
    virtual void scan_begin(std::string_view title, std::string_view text, std::int32_t total) = 0;
    // Called once per name walked, with i counting from 1 and the per-name progress text.
    // The host pumps its events here (as often as it likes; at most a few dozen times a
    // second is plenty) and returns true once the user has cancelled.
    virtual bool scan_step(std::int32_t i, std::string_view text) = 0;
    // Names first ... last walked in one go (a dong scan that finds its matches through the
    // dong posting lists passes over thousands of names at once). Returns 0, or the number of
    // the name during which the user cancelled; the scan then ends after that name. The
    // default steps through scan_step name by name with text_of(i) as each name's text; a
    // host that overrides it moves its bar to `last` at once and needs text_of(last) only.
    virtual std::int32_t scan_steps(std::int32_t first, std::int32_t last,
                                    const std::function<std::string_view(std::int32_t)>& text_of) {
        for (std::int32_t i = first; i <= last; ++i) {
            if (scan_step(i, text_of(i))) return i;
        }
        return 0;
    }
    virtual void scan_end() = 0;
};

}  // namespace zendari
