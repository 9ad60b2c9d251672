#include "office/screens/points_screen.h"

#include "office/network_view.h"
#include "office/screens/action_form.h"
#include "office/screens/table_rows.h"
#include "platform/dialogs.h"

#include <QHeaderView>
#include <QTableWidget>
#include <QVBoxLayout>

namespace vendura::office {
namespace {
// The office's own logins are given where its sales points are.
std::vector<OfficeAction> withOfficeLogins(std::vector<OfficeAction> actions) {
    for (OfficeAction& a : officeLoginActions()) actions.push_back(std::move(a));
    return actions;
}
}  // namespace

PointsScreen::PointsScreen(AdminLink& link, Dialogs& dialogs, QWidget* parent)
    : ActionScreen(link, dialogs, u"Puntos de venta"_s,
                   {u"Punto"_s, u"Nombre"_s, u"Estado"_s, u"Cuenta"_s, u"Caducidad (días)"_s,
                    u"Anulación (min)"_s, u"Cupo %"_s, u"Comisión %"_s, u"Vendedores"_s,
                    u"Liquidado hasta"_s},
                   withOfficeLogins(salesPointActions()),
                   u"Intro muestra los vendedores del punto elegido. Estado: A activo, S "
                   u"suspendido, I inactivo."_s,
                   parent) {
    setObjectName(u"PointsScreen"_s);
    sellers_ = new QTableWidget(0, 3, this);
    sellers_->setObjectName(u"tblVendedores"_s);
    sellers_->setHorizontalHeaderLabels({u"Vendedor"_s, u"Nombre"_s, u"Estado"_s});
    sellers_->horizontalHeader()->setStretchLastSection(true);
    sellers_->verticalHeader()->hide();
    sellers_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    sellers_->setMaximumHeight(160);
    connect(sellers_, &QTableWidget::currentCellChanged, this, [this](int row, int, int, int) {
        if (row >= 0 && sellers_->item(row, 0))
            form()->fill(u"Vendedor"_s, sellers_->item(row, 0)->text());
    });
    side()->addWidget(sellers_);
}

Result<std::vector<QStringList>> PointsScreen::rows() {
    auto points = salesPoints(link_);
    if (!points) return points.error();
    std::vector<QStringList> rows;
    for (const SalesPoint& p : points.value()) {
        rows.push_back({p.vendor, p.name, p.state, p.account, p.expiryDays, p.cancelMinutes,
                        p.quotaShare, p.commission, p.sellers, p.settledTo});
    }
    return rows;
}

void PointsScreen::rowChosen(const QStringList& row) {
    form()->fill(u"Punto de venta"_s, row[0]);
}

void PointsScreen::rowKey(const QStringList& row, bool remove) {
    if (remove) return;
    auto read = sellersOf(link_, row[0]);
    if (!read) {
        dialogs_.message(DialogIcon::Critical, title_, read.error().description);
        return;
    }
    std::vector<QStringList> rows;
    for (const Seller& s : read.value()) rows.push_back({s.code, s.name, s.state});
    showRows(sellers_, rows);
    sellers_->resizeColumnsToContents();
}

}  // namespace vendura::office
