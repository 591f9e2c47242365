// Acts on modal dialogs as they come up. A command that opens a dialog with exec() does not
// return until the dialog closes, so a test queues the steps for each dialog first, then
// runs the command; each step runs once, in order, on the top modal window of its type.
// A dialog that stays up for 10 seconds with no step for it fails the test and is closed,
// so a wrong step ends the test instead of hanging it.
#pragma once

#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QPointer>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <deque>
#include <functional>

#include <gtest/gtest.h>

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
        if (m_starting) return;
        QWidget* top = QApplication::activeModalWidget();
        if (!top || !top->isVisible()) return;
        if (m_steps.empty() || !top->metaObject()->inherits(m_steps.front().type)) {
            if (top != m_waiting) {
                m_waiting = top;
                m_since.start();
            } else if (m_since.elapsed() > 10000) {
                ADD_FAILURE() << "no step for the dialog " << top->metaObject()->className();
                if (auto* dialog = qobject_cast<QDialog*>(top)) dialog->reject();
            }
            return;
        }
        m_waiting = nullptr;
        // The step runs from a timer of its own: a timer does not fire again while its
        // handler runs, and a step may wait in a dialog it opens while later steps act.
        m_starting = true;
        QTimer::singleShot(0, &m_timer,
                           [this, step = std::move(m_steps.front()),
                            dialog = QPointer<QWidget>(top)] { run(step, dialog); });
        m_steps.pop_front();
    }
    void run(const Step& step, const QPointer<QWidget>& top) {
        // As a user's dialog is: the active window, with the keyboard focus in it. (A menu
        // closing may hand the activation back to its window after the dialog came up.)
        QElapsedTimer waited;
        waited.start();
        while (top && QApplication::activeWindow() != top && waited.elapsed() < 2000) {
            top->activateWindow();
            QTest::qWait(10);
        }
        m_starting = false;
        if (top) step.act(top);
    }

    QTimer m_timer;
    std::deque<Step> m_steps;
    QPointer<QWidget> m_waiting;
    bool m_starting = false;  // a step is scheduled and has not begun
    QElapsedTimer m_since;
};
