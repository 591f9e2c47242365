// The options dialog: modem port, own area code, dialling prefix and the result limit,
// loaded from and saved to the "Option" section of the settings store.
#pragma once

#include <QDialog>
#include <memory>

namespace Ui {
class frmOption;
}

class frmOption : public QDialog {
    Q_OBJECT
public:
    explicit frmOption(QWidget* parent = nullptr);
    ~frmOption() override;

private:
    void loadSettings();
    void cmdOKClick();

    std::unique_ptr<Ui::frmOption> m_ui;
};
