#include "reports/screens/report_screens.h"

#include "platform/dialogs.h"
#include "reports/account_statement.h"
#include "reports/final_report.h"
#include "reports/prize_report.h"
#include "reports/sales_report.h"
#include "session/screens/named.h"
#include "session/server_link.h"
#include "session/session.h"

#include <QComboBox>

namespace vendura {
namespace {

QComboBox* chooser(QWidget* parent, const char* name, const QStringList& entries) {
    auto* combo = named(new QComboBox(parent), name);
    combo->addItems(entries);
    combo->setCurrentIndex(0);
    return combo;
}

}  // namespace

PrizeReportScreen::PrizeReportScreen(ReportDeps deps, QWidget* parent)
    : ReportScreen(std::move(deps), "ReporteTickets", u"Reporte de Tickets"_s, "eshasta", parent),
      combo3_(chooser(this, "Combo3", {u"Resumido"_s, u"Detallado"_s})) {
    addOption(u"Forma:"_s, combo3_);
}

std::optional<QStringList> PrizeReportScreen::build(ReportLink& link) {
    const QString vendor = session().CodVendedor;
    const bool detailed = combo3_->currentText() == u"Detallado"_s;
    auto tickets = link.call(prize_report::call(u"RPTTICKPREMIADOS"_s, vendor, from(), to()), true);
    if (!tickets) return std::nullopt;
    RecordSet plays;
    if (detailed) {
        auto answer =
            link.call(prize_report::call(u"RPTTICKPREMIADOSdetalle"_s, vendor, from(), to()));
        if (!answer) return std::nullopt;
        plays = answer.value().rows;
    }
    return prize_report::compose(session(), from(), to(), detailed, tickets.value().rows, plays);
}

SalesReportScreen::SalesReportScreen(ReportDeps deps, QWidget* parent)
    : ReportScreen(std::move(deps), "ReporteVentas", u"Cuadre de Caja"_s, nullptr, parent) {}

std::optional<QStringList> SalesReportScreen::build(ReportLink& link) {
    auto answer = link.call(sales_report::call(session(), from()), true);
    if (!answer) return std::nullopt;
    return sales_report::compose(session(), from(), answer.value().outputs.value(u"@montoventa"_s),
                                 answer.value().rows);
}

FinalReportScreen::FinalReportScreen(ReportDeps deps, QWidget* parent)
    : ReportScreen(std::move(deps), "RelacionFinal", u"Relación Final"_s, "DTPicker1", parent),
      combo1_(chooser(this, "Combo1", final_report::kindEntries())) {
    addOption(u"Tipo:"_s, combo1_);
}

std::optional<QStringList> FinalReportScreen::build(ReportLink& link) {
    const auto kind = final_report::kindOf(combo1_->currentText());
    if (!kind) {
        dialogs().message(DialogIcon::Critical, kTituloAtencion,
                          u"Debe seleccionar el tipo de reporte!"_s);
        return std::nullopt;
    }
    auto rows = link.call(final_report::call(*kind, session().CodVendedor, from(), to()), true);
    if (!rows) return std::nullopt;
    QMap<QString, QString> names;
    if (*kind == final_report::Kind::Loterias) {
        auto lotteries = link.exec(u"DSPLOT '4', '0'"_s);
        if (!lotteries) return std::nullopt;
        names = final_report::lotteryNames(lotteries.value().rows);
    }
    return final_report::compose(session(), *kind, from(), to(), rows.value().rows, names);
}

AccountStatementScreen::AccountStatementScreen(ReportDeps deps, QWidget* parent)
    : ReportScreen(std::move(deps), "SaldosOperadora", u"Saldos Operadora"_s, nullptr, parent) {}

std::optional<QStringList> AccountStatementScreen::build(ReportLink& link) {
    auto answer = link.call(account_statement::call(session().CodVendedor, from()), true);
    if (!answer) return std::nullopt;
    return account_statement::compose(session(), from(), answer.value());
}

}  // namespace vendura
