// Acts on modal dialogs as they come up. A command that opens a dialog with exec() does not
// return until the dialog closes, so a test queues the steps for each dialog first, then
// runs the command; each step runs once, in order, on the top modal window of its type.
#pragma once

#include <QApplication>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <deque>
#include <functional>

class ModalDriver {
public:
    ModalDriver() {
        m_timer.setInterval(5);
        QObject::connect(&m_timer, &QTimer::timeout, [this] { poll(); });
        m_timer.start();
    }

    template <typename T>
    void onNext(std::function<void(T&)> act) {
        m_steps.push_back({&T::staticMetaObject,
                           [act = std::move(act)](QWidget* w) { act(*static_cast<T*>(w)); }});
    }
    // Steps still waiting for their dialog.
    std::size_t pending() const { return m_steps.size(); }

private:
    struct Step {
        const QMetaObject* type;
        std::function<void(QWidget*)> act;
    };
    void poll() {
        if (m_steps.empty()) return;
        QWidget* top = QApplication::activeModalWidget();
        if (!top || !top->isVisible() || !top->metaObject()->inherits(m_steps.front().type)) {
            return;
        }
        Step step = std::move(m_steps.front());
        m_steps.pop_front();
        // As a user's dialog is: the active window, with the keyboard focus in it.
        top->activateWindow();
        (void)QTest::qWaitForWindowActive(top, 2000);
        step.act(top);  // it may open a dialog of its own, whose steps run meanwhile
    }

    QTimer m_timer;
    std::deque<Step> m_steps;
};
