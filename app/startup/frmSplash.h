// The splash window shown while the main window is built.
#pragma once

#include <QWidget>
#include <memory>

namespace Ui {
class frmSplash;
}

class frmSplash : public QWidget {
    Q_OBJECT
public:
    explicit frmSplash(QWidget* parent = nullptr);
    ~frmSplash() override;

private:
    std::unique_ptr<Ui::frmSplash> m_ui;
};
