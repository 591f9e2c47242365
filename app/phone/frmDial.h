// The dial window: shows the entry to call (name, area code, number, department), dials it
// through the modem on the button "전화 걸기" and closes itself once the user was told to pick
// up the handset. While the modem is dialling the window cannot be closed; a failed attempt
// leaves it open for another. Callers fill the boxes and show it modally through dial().
#pragma once

#include <QDialog>
#include <memory>

#include "ModemDialer.h"

class QCloseEvent;

namespace Ui {
class frmDial;
}

class frmDial : public QDialog {
    Q_OBJECT
public:
    // Reads the port, own area code and prefix from the settings and clears lblDialing. With
    // business memo pads off (people pads) the department box is emptied and greyed.
    explicit frmDial(QWidget* parent = nullptr);
    ~frmDial() override;

    // Opens a dial window over `parent` with these values in its boxes, modally, and unloads
    // it when the user closes it: the dial command of the result lists and the memo window.
    static void dial(QWidget* parent, const QString& name, const QString& areaCode,
                     const QString& number, const QString& department);
    void setEntry(const QString& name, const QString& areaCode, const QString& number,
                  const QString& department);

    bool isDialling() const { return m_dialling; }
    phone::ModemDialer& dialer() { return *m_dialer; }

    void done(int result) override;  // refused while dialling, like every way of closing

protected:
    void closeEvent(QCloseEvent* event) override;
    // F1 released anywhere in the window, whichever box has the focus (a line edit keeps
    // its key releases to itself).
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void cmdDialClick();
    void onDialFinished(int result);
    void setControlsEnabled(bool enabled);

    std::unique_ptr<Ui::frmDial> m_ui;
    phone::ModemDialer* m_dialer;
    QString m_port;
    QString m_ownAreaCode;
    QString m_prefix;
    QString m_caption;  // the caption before dialling, put back after
    bool m_dialling = false;
};
