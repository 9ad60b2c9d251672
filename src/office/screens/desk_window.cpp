#include "office/screens/desk_window.h"

#include "office/screens/audit_screen.h"
#include "office/screens/exposure_screen.h"
#include "office/screens/results_screen.h"

#include <QDir>
#include <QShortcut>
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
    tabs_->addTab(audit_, u"F4 Auditoría"_s);
    setCentralWidget(tabs_);
    statusBar()->showMessage(u"F2 Resultados   F3 Exposición   F4 Auditoría   Alt+F4 Salir"_s);
    const auto key = [this](Qt::Key k, QWidget* screen) {
        connect(new QShortcut(QKeySequence(k), this), &QShortcut::activated, this, [this, screen] {
            tabs_->setCurrentWidget(screen);
            if (QWidget* first = screen->nextInFocusChain()) first->setFocus();
        });
    };
    key(Qt::Key_F2, results_);
    key(Qt::Key_F3, exposure_);
    key(Qt::Key_F4, audit_);
    connect(tabs_, &QTabWidget::currentChanged, this, [this](int) {
        if (tabs_->currentWidget() == results_) results_->refresh();
    });
    resize(1100, 700);
}

DeskWindow::~DeskWindow() = default;

}  // namespace vendura::office
