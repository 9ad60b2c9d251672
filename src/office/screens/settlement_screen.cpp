#include "office/screens/settlement_screen.h"

#include "office/account_book.h"
#include "office/screens/action_form.h"

#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace vendura::office {
namespace {

// The settlements of the office's money actions: of one sales point, and of every one.
std::vector<OfficeAction> settling() {
    std::vector<OfficeAction> actions;
    for (OfficeAction& a : moneyActions()) {
        if (a.function.startsWith(u"liquidar"_s)) actions.push_back(std::move(a));
    }
    return actions;
}

}  // namespace

SettlementScreen::SettlementScreen(AdminLink& link, Dialogs& dialogs, const QDate& today,
                                   QWidget* parent)
    : ActionScreen(
          link, dialogs, u"Liquidación"_s,
          {u"Punto"_s, u"Nombre"_s, u"Liquidado hasta"_s, u"Última liquidación"_s, u"Deuda"_s,
           u"Cuenta del día"_s, u"Movimientos"_s, u"Depósitos"_s, u"Saldo de jugada"_s,
           u"Saldo de préstamos"_s, u"Saldo general"_s, u"Por confirmar"_s},
          settling(),
          u"El estado de cuenta de cada punto en el día. Intro liquida el elegido hasta "
          u"ese día, tras una pregunta."_s,
          parent) {
    setObjectName(u"SettlementScreen"_s);
    day_ = new QLineEdit(today.addDays(-1).toString(Qt::ISODate), this);
    day_->setObjectName(u"txtFecha"_s);
    connect(day_, &QLineEdit::returnPressed, this, &ActionScreen::refresh);
    auto* form = new QFormLayout;
    form->addRow(u"Estados de cuenta del &día"_s, day_);
    auto* show = new QPushButton(u"&Leer"_s, this);
    show->setObjectName(u"btnLeer"_s);
    connect(show, &QPushButton::clicked, this, &ActionScreen::refresh);
    form->addRow(QString(), show);
    side()->insertLayout(0, form);
}

Result<std::vector<QStringList>> SettlementScreen::rows() {
    auto statements = statementsOfDay(link_, day_->text());
    if (!statements) return statements.error();
    listed_ = day_->text().trimmed();
    std::vector<QStringList> rows;
    for (const PointStatement& p : statements.value()) {
        QStringList row{p.vendor, p.name, p.settledTo.isEmpty() ? u"-"_s : p.settledTo};
        for (const auto& [label, value] : p.lines) row << shownValue(value);
        rows.push_back(row);
    }
    return rows;
}

void SettlementScreen::rowChosen(const QStringList& row) {
    form()->fill(u"Punto de venta"_s, row[0]);
    form()->fill(u"Hasta el día"_s, listed_);
}

void SettlementScreen::rowKey(const QStringList& row, bool remove) {
    if (remove) return;
    rowChosen(row);
    form()->focusFirstEmpty();
}

}  // namespace vendura::office
