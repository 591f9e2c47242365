// The scan's progress window: a small topmost window with two lines of text, a smooth bar
// and a cancel button. While it lives the application's main window is disabled; Esc or the
// button cancels. Its position is kept in the control's own profile ("Settings", "X"/"Y").
#pragma once

#include <QPointer>
#include <QWidget>

class QLabel;
class QProgressBar;
class QPushButton;

namespace zendari {

class ProgressWindow : public QWidget {
    Q_OBJECT
public:
    // `mainWindow` is disabled for the window's lifetime (may be null). `owner` should not be
    // inside `mainWindow`, or the progress window would be disabled with it.
    ProgressWindow(const QString& title, bool smooth, QWidget* owner, QWidget* mainWindow);
    ~ProgressWindow() override;

    void setRange(int lower, int upper);
    void setStep(int step) { m_step = step; }
    void setText(const QString& text);
    void stepIt() { stepBy(1); }
    // Advances by `steps` steps at once (one title and bar update).
    void stepBy(int steps);
    // Lets pending events run (keys and clicks reach the window); returns true once cancelled.
    bool pump();
    bool isCancelled() const { return m_cancelled; }
    int position() const { return m_position; }
    QString text() const;

    // Where the window keeps its position: the control's profile in the Windows directory.
    static QString profilePath();

public slots:
    // Sets the cancelled flag, hides this window and brings the main window to the front;
    // the main window is enabled again only when this window is destroyed.
    void cancel();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void placeFromProfile();
    void savePosition();

    QString m_title;
    QLabel* m_text = nullptr;
    QProgressBar* m_bar = nullptr;
    QPushButton* m_cancel = nullptr;
    QWidget* m_mainWindow = nullptr;
    // The main window's widget that had the keyboard focus when the scan began: disabling the
    // window takes the focus away, and the user's keys go back there once it is enabled again.
    QPointer<QWidget> m_focusBefore;
    int m_lower = 0;
    int m_upper = 100;
    int m_step = 1;
    int m_position = 0;
    int m_lastPercent = 0;
    bool m_cancelled = false;
};

}  // namespace zendari
