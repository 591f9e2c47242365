// The engine's host inside the control library: the engine's messages become message boxes
// through the prompt seam, and a scan's progress drives a ProgressWindow that keeps the
// application's main window disabled and is pumped at most a few dozen times a second.
#pragma once

#include <QElapsedTimer>
#include <QPointer>
#include <memory>

#include "ProgressWindow.h"
#include "common/ControlHost.h"

class QWidget;

namespace zendari {

class QtControlHost final : public QObject, public ControlHost {
    Q_OBJECT
public:
    // `control` is the control's own window: the owner of its boxes; its top-level window is
    // the main window a scan disables.
    explicit QtControlHost(QWidget* control);
    ~QtControlHost() override;

    void show_message(std::string_view caption, std::string_view text) override;
    void scan_begin(std::string_view title, std::string_view text, std::int32_t total) override;
    bool scan_step(std::int32_t i, std::string_view text) override;
    std::int32_t scan_steps(std::int32_t first, std::int32_t last,
                            const std::function<std::string_view(std::int32_t)>& text_of) override;
    void scan_end() override;

    ProgressWindow* progressWindow() const { return m_progress.get(); }

    // Scans without any window (no progress window, nothing to cancel), for a host that has
    // no display to show one on. Set by the environment variable ZENDARI_WINDOWLESS=1.
    bool windowless() const { return m_windowless; }

signals:
    // A scan's progress window has just been shown; tests use it to press keys there.
    void scanStarted(zendari::ProgressWindow* window);

private:
    QWidget* m_control;
    bool m_windowless = false;
    std::unique_ptr<ProgressWindow> m_progress;
    QElapsedTimer m_sincePump;
    QString m_firstText;
};

// CP949 text of the engine as a QString; undecodable bytes become U+FFFD rather than nothing.
QString fromCp949(std::string_view text);

}  // namespace zendari
