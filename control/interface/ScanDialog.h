// The small modal dialog a scan runs in. Its first paint presses its own OK button: the
// dialog closes and the scan runs before the modal call returns, so the caller sees one
// blocking call that ends when the scan is over.
#pragma once

#include <QDialog>
#include <functional>

namespace zendari {

class ScanDialog : public QDialog {
    Q_OBJECT
public:
    ScanDialog(QWidget* parent, std::function<void()> scan);
    void setScan(std::function<void()> scan) { m_scan = std::move(scan); }
    // Shows the dialog modally and returns once the scan has run.
    void runScan();

protected:
    void showEvent(QShowEvent* event) override;

private slots:
    void onOk();

private:
    std::function<void()> m_scan;
    bool m_started = false;
};

}  // namespace zendari
