#include "office/screens/sales_screen.h"

#include "office/input.h"
#include "office/screens/live_reading.h"
#include "office/screens/sales_chart.h"
#include "platform/dialogs.h"

#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QTimer>
#include <QVBoxLayout>

namespace vendura::office {
namespace {
const QString kTitle = u"Ventas del día"_s;
}

SalesScreen::SalesScreen(AdminLink& link, Dialogs& dialogs, const QDate& today, QWidget* parent)
    : QWidget(parent), link_(link), dialogs_(dialogs) {
    setObjectName(u"SalesScreen"_s);
    day_ = new QLineEdit(today.toString(Qt::ISODate), this);
    day_->setObjectName(u"txtFecha"_s);
    day_->setMaximumWidth(day_->fontMetrics().horizontalAdvance(u'0') * 14);
    summary_ = new QLabel(this);
    summary_->setObjectName(u"lblResumen"_s);
    chart_ = new SalesChart(this);
    auto* form = new QFormLayout;
    form->addRow(u"&Día"_s, day_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(summary_);
    layout->addWidget(chart_, 1);
    setFocusProxy(day_);
    connect(day_, &QLineEdit::returnPressed, this, &SalesScreen::refresh);
    timer_ = new QTimer(this);
    timer_->setInterval(kLiveRefreshMs);
    connect(timer_, &QTimer::timeout, this, [this] {
        if (isVisible()) reread();
    });
}

void SalesScreen::showEvent(QShowEvent* event) {
    if (shownDay_.isEmpty()) {
        refresh();
    } else {
        reread();
    }
    timer_->start();
    QWidget::showEvent(event);
}

void SalesScreen::refresh() {
    if (read(day_->text().trimmed(), false)) shownDay_ = day_->text().trimmed();
}

void SalesScreen::reread() {
    read(shownDay_, true);
}

bool SalesScreen::read(const QString& day, bool quiet) {
    auto checked = isoDate(day);
    auto sales = checked ? daySales(link_, checked.value()) : Result<DaySales>(checked.error());
    if (!sales) {
        if (quiet) {
            summary_->setText(readAgainFailed(u"No se pudo leer de nuevo el "_s + day,
                                              sales.error().description));
        } else {
            dialogs_.message(DialogIcon::Critical, kTitle, sales.error().description);
        }
        return false;
    }
    summary_->setText(u"Vendido el "_s + checked.value() + u": "_s + sales.value().total.display() +
                      u" en tickets emitidos que cuentan"_s + readAgainEvery());
    chart_->setSales(std::move(sales.value()));
    return true;
}

}  // namespace vendura::office
