// A loaded memo window of either mode on a temporary data folder, pads stored beforehand
// through the store, and the modal driver for the dialogs its commands open.
#pragma once

#include <QAction>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTest>
#include <QToolBar>
#include <QTreeWidget>
#include <functional>
#include <memory>

#include "MemoFixture.h"
#include "ModalDriver.h"
#include "frmMemo.h"

// Types `text` into `target` as key presses carrying the text (QTest's key clicks know only
// Latin-1 keys).
inline void typeInto(QWidget* target, const QString& text) {
    for (QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
        QCoreApplication::sendEvent(target, &press);
        QKeyEvent release(QEvent::KeyRelease, 0, Qt::NoModifier, QString(c));
        QCoreApplication::sendEvent(target, &release);
    }
}

// A double click of the left button at `pos`, as the window system delivers one: press,
// release, double click, release.
inline void doubleClick(QWidget* target, QPoint pos) {
    const QPointF local(pos);
    const QPointF global(target->mapToGlobal(pos));
    for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease,
                              QEvent::MouseButtonDblClick, QEvent::MouseButtonRelease}) {
        const bool down = type != QEvent::MouseButtonRelease;
        QMouseEvent event(type, local, global, Qt::LeftButton, down ? Qt::LeftButton : Qt::NoButton,
                          Qt::NoModifier);
        QCoreApplication::sendEvent(target, &event);
    }
}

// Lets events run until `done` holds or `ms` passed; whether it held.
inline bool waitUntil(const std::function<bool()>& done, int ms = 5000) {
    QElapsedTimer timer;
    timer.start();
    while (!done()) {
        if (timer.elapsed() > ms) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    return true;
}

class MemoWindowFixture : public MemoFixture {
protected:
    void TearDown() override {
        m_memo.reset();
        MemoFixture::TearDown();
    }

    // Stores pads of the mode before the window opens its database.
    void seedPad(const QString& name, const std::vector<MemoEntry>& entries,
                 MemoMode mode = MemoMode::People) {
        MemoStore store(mode);
        ASSERT_EQ(store.open(), MemoStore::OpenResult::Opened);
        ASSERT_EQ(store.savePad(name, entries, false).code, 0);
    }
    std::optional<std::vector<MemoEntry>> storedPad(const QString& name,
                                                    MemoMode mode = MemoMode::People) {
        MemoStore store(mode);
        EXPECT_EQ(store.open(), MemoStore::OpenResult::Opened);
        return store.loadPad(name);
    }
    frmMemo& loadMemo(MemoMode mode = MemoMode::People) {
        intMemoPadKind = mode == MemoMode::People ? 1 : 0;
        m_memo = std::make_unique<frmMemo>(mode);
        EXPECT_TRUE(m_memo->loadWindow());
        return *m_memo;
    }
    frmMemo& memo() { return *m_memo; }
    QTreeWidget* list() { return m_memo->memoList(); }
    // Presses a toolbar button with the mouse.
    void clickButton(const char* key) {
        QAction* a = m_memo->toolbarButton(QString::fromLatin1(key));
        ASSERT_NE(a, nullptr) << key;
        QWidget* button = m_memo->findChild<QToolBar*>("tbToolBar")->widgetForAction(a);
        ASSERT_NE(button, nullptr) << key;
        QTest::mouseClick(button, Qt::LeftButton);
    }
    // Clicks row `row` of the memo list, with `modifier` held.
    void clickRow(int row, Qt::KeyboardModifiers modifier = Qt::NoModifier) {
        QTreeWidget* l = list();
        const QRect r = l->visualItemRect(l->topLevelItem(row));
        QTest::mouseClick(l->viewport(), Qt::LeftButton, modifier, r.center());
    }
    std::vector<int> selectedRows() {
        std::vector<int> rows;
        for (int i = 0; i < list()->topLevelItemCount(); ++i) {
            if (list()->topLevelItem(i)->isSelected()) rows.push_back(i);
        }
        return rows;
    }

    std::unique_ptr<frmMemo> m_memo;
    ModalDriver m_driver;
};
