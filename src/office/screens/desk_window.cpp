#include "office/screens/desk_window.h"

#include "office/screens/audit_screen.h"
#include "office/screens/counters_screen.h"
#include "office/screens/exposure_screen.h"
#include "office/screens/results_screen.h"

#include <QDir>
#include <QKeyEvent>
#include <QStatusBar>
#include <QTabWidget>

namespace vendura::office {

DeskWindow::DeskWindow(std::unique_ptr<AdminLink> link, const QString& login, Dialogs& dialogs,
                       const QDate& today, QWidget* parent)
    : QMainWindow(parent), link_(std::move(link)) {
    setObjectName(u"DeskWindow"_s);
    setWindowTitle(u"vendura - Oficina central ("_s + login + u")"_s);
    tabs_ = new QTabWidget(this);
    tabs_->setObjectName(u"tabsOficina"_s);
    results_ = new ResultsScreen(*link_, dialogs, today, tabs_);
    exposure_ = new ExposureScreen(*link_, dialogs, today, tabs_);
    tabs_->addTab(results_, u"F2 Resultados"_s);
    audit_ = new AuditScreen(*link_, dialogs, today, QDir::homePath(), tabs_);
    tabs_->addTab(exposure_, u"F3 Exposición"_s);
    counters_ = new CountersScreen(*link_, dialogs, tabs_);
    tabs_->addTab(audit_, u"F4 Auditoría"_s);
    tabs_->addTab(counters_, u"F5 Puntos en línea"_s);
    setCentralWidget(tabs_);
    statusBar()->showMessage(
        u"F2 Resultados   F3 Exposición   F4 Auditoría   F5 Puntos en línea   Alt+F4 Salir"_s);
    connect(tabs_, &QTabWidget::currentChanged, this, [this](int) {
        if (tabs_->currentWidget() == results_) results_->refresh();
    });
    resize(1100, 700);
    results_->setFocus();
}

DeskWindow::~DeskWindow() = default;

// The screens' keys reach the window from whichever field has the focus, with a window manager
// or without one (a shortcut would wait for the window to be the active one).
void DeskWindow::keyPressEvent(QKeyEvent* event) {
    QWidget* screen = event->key() == Qt::Key_F2   ? static_cast<QWidget*>(results_)
                      : event->key() == Qt::Key_F3 ? static_cast<QWidget*>(exposure_)
                      : event->key() == Qt::Key_F4 ? static_cast<QWidget*>(audit_)
                      : event->key() == Qt::Key_F5 ? static_cast<QWidget*>(counters_)
                                                   : nullptr;
    if (!screen || event->modifiers() != Qt::NoModifier) {
        QMainWindow::keyPressEvent(event);
        return;
    }
    tabs_->setCurrentWidget(screen);
    screen->setFocus();
}

}  // namespace vendura::office
