#include "frmSplash.h"

#include <QGuiApplication>
#include <QScreen>

#include "ui_frmSplash.h"

frmSplash::frmSplash(QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint),
      m_ui(std::make_unique<Ui::frmSplash>()) {
    m_ui->setupUi(this);
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        move(screen->availableGeometry().center() - rect().center());
    }
}

frmSplash::~frmSplash() = default;
