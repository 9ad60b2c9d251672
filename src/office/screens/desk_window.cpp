#include "office/screens/desk_window.h"

#include "office/screens/audit_screen.h"
#include "office/screens/counters_screen.h"
#include "office/screens/exposure_screen.h"
#include "office/screens/money_screen.h"
#include "office/screens/payouts_screen.h"
#include "office/screens/points_screen.h"
#include "office/screens/results_screen.h"
#include "office/screens/sales_screen.h"
#include "office/screens/settlement_screen.h"

#include <QApplication>
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
    audit_ = new AuditScreen(*link_, dialogs, today, QDir::homePath(), tabs_);
    counters_ = new CountersScreen(*link_, dialogs, tabs_);
    sales_ = new SalesScreen(*link_, dialogs, today, tabs_);
    money_ = new MoneyScreen(*link_, dialogs, today, tabs_);
    points_ = new PointsScreen(*link_, dialogs, tabs_);
    payouts_ = new PayoutsScreen(*link_, dialogs, tabs_);
    settlement_ = new SettlementScreen(*link_, dialogs, today, tabs_);
    const std::pair<QWidget*, QString> screens[] = {
        {results_, u"Resultados"_s},     {exposure_, u"Exposición"_s},
        {audit_, u"Auditoría"_s},        {counters_, u"Puntos en línea"_s},
        {sales_, u"Ventas"_s},           {money_, u"Dinero"_s},
        {points_, u"Puntos de venta"_s}, {payouts_, u"Pagos"_s},
        {settlement_, u"Liquidación"_s}};
    QStringList help;
    int key = Qt::Key_F2;
    for (const auto& [screen, name] : screens) {
        const QString caption = u"F"_s + QString::number(key - Qt::Key_F1 + 1) + u" "_s + name;
        tabs_->addTab(screen, caption);
        keys_.emplace_back(key++, screen);
        help << caption;
    }
    setCentralWidget(tabs_);
    statusBar()->showMessage(help.join(u"   "_s) + u"   Alt+F4 Salir"_s);
    connect(tabs_, &QTabWidget::currentChanged, this, [this](int) {
        if (tabs_->currentWidget() == results_) results_->refresh();
    });
    resize(1100, 700);
    qApp->installEventFilter(this);
    results_->setFocus();
}

DeskWindow::~DeskWindow() = default;

// The screens' keys, F2 to F10, are the window's whichever of its fields has the focus, before
// the field takes them (a list opens on F4), with a window manager or without one (a shortcut
// would wait for the window to be the active one).
bool DeskWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress || !watched->isWidgetType() ||
        static_cast<QWidget*>(watched)->window() != this) {
        return QMainWindow::eventFilter(watched, event);
    }
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->modifiers() != Qt::NoModifier) return QMainWindow::eventFilter(watched, event);
    for (const auto& [code, screen] : keys_) {
        if (key->key() != code) continue;
        tabs_->setCurrentWidget(screen);
        screen->setFocus();
        return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

}  // namespace vendura::office
