#include "QtControlHost.h"

#include <QWidget>

#include "BoundaryText.h"
#include "Prompt.h"

namespace zendari {
namespace {
// Pump events and repaint at most this often; the scan itself never waits on the window.
constexpr qint64 kPumpIntervalMs = 30;
}  // namespace

QString fromCp949(std::string_view text) {
    const std::u16string utf16 = utf16_from_cp949_lossy(text);
    return QString::fromUtf16(utf16.data(), static_cast<qsizetype>(utf16.size()));
}

QtControlHost::QtControlHost(QWidget* control)
    : m_control(control), m_windowless(qEnvironmentVariableIntValue("ZENDARI_WINDOWLESS") == 1) {}

QtControlHost::~QtControlHost() = default;

void QtControlHost::show_message(std::string_view caption, std::string_view text) {
    MessageRequest request;
    request.title = fromCp949(caption);
    request.text = fromCp949(text);
    request.icon = PromptIcon::None;
    request.buttons = PromptButtons::Ok;
    request.owner = m_control;
    activePrompt().message(request);
}

void QtControlHost::scan_begin(std::string_view title, std::string_view text, std::int32_t total) {
    if (m_windowless) return;
    QWidget* mainWindow = m_control ? m_control->window() : nullptr;
    // The window has no Qt parent: disabling the main window disables every widget below it,
    // and the progress window must stay usable (Esc, the cancel button) while it is disabled.
    m_progress = std::make_unique<ProgressWindow>(fromCp949(title), true, nullptr, mainWindow);
    m_progress->setRange(0, total);
    m_progress->setStep(1);
    m_progress->setText(fromCp949(text));
    emit scanStarted(m_progress.get());
    m_progress->pump();
    m_sincePump.start();
}

bool QtControlHost::scan_step(std::int32_t i, std::string_view text) {
    if (!m_progress) return false;
    m_progress->stepIt();
    // The first name always pumps, so a key pressed before the scan began is seen at once.
    if (i == 1 || m_sincePump.elapsed() >= kPumpIntervalMs) {
        m_progress->setText(fromCp949(text));
        m_sincePump.restart();
        return m_progress->pump();
    }
    return m_progress->isCancelled();
}

std::int32_t QtControlHost::scan_steps(
    std::int32_t first, std::int32_t last,
    const std::function<std::string_view(std::int32_t)>& text_of) {
    if (!m_progress || last < first) return 0;  // windowless: nothing to show or cancel
    if (m_progress->isCancelled()) return first;
    // A run of names passed over at once moves the bar in one go; the window is pumped as
    // often as name by name stepping would pump it, so Esc is seen just as soon.
    m_progress->stepBy(last - first + 1);
    if (first == 1 || m_sincePump.elapsed() >= kPumpIntervalMs) {
        m_progress->setText(fromCp949(text_of(last)));
        m_sincePump.restart();
        if (m_progress->pump()) return last;
    }
    return 0;
}

void QtControlHost::scan_end() {
    m_progress.reset();
}

}  // namespace zendari
