#include "office/network_view.h"

namespace vendura::office {

Result<std::vector<SalesPoint>> salesPoints(AdminLink& link) {
    auto rows = link.call(u"puntos"_s, {});
    if (!rows) return rows.error();
    const RecordSet& r = rows.value();
    std::vector<SalesPoint> points;
    for (int i = 0; i < r.size(); ++i) {
        points.push_back({r.text(i, u"cod_vendedor"_s), r.text(i, u"nombre"_s),
                          r.text(i, u"estado"_s), r.text(i, u"cuenta"_s),
                          r.text(i, u"dias_caduca"_s), r.text(i, u"minutos_anulacion"_s),
                          r.text(i, u"cupo_porcentaje"_s), r.text(i, u"comision"_s),
                          r.text(i, u"usuarios"_s), r.text(i, u"liquidado"_s)});
    }
    return points;
}

Result<std::vector<Seller>> sellersOf(AdminLink& link, const QString& vendor) {
    auto rows = link.call(u"usuarios"_s, {vendor.trimmed()});
    if (!rows) return rows.error();
    const RecordSet& r = rows.value();
    std::vector<Seller> sellers;
    for (int i = 0; i < r.size(); ++i) {
        sellers.push_back(
            {r.text(i, u"cod_usuario"_s), r.text(i, u"nombre"_s), r.text(i, u"estado"_s)});
    }
    return sellers;
}

Result<DaySales> daySales(AdminLink& link, const QString& day) {
    auto rows = link.call(u"ventas_del_dia"_s, {day});
    if (!rows) return rows.error();
    const RecordSet& r = rows.value();
    DaySales sales;
    for (int i = 0; i < r.size(); ++i) {
        auto amount = Money::parse(r.text(i, u"monto"_s));
        if (!amount) return amount.error();
        const QString key = r.text(i, u"clave"_s);
        if (r.text(i, u"clase"_s) == u"L"_s) {
            sales.lotteries.emplace_back(key, amount.value());
            sales.total += amount.value();
        } else {
            const int hour = key.toInt();
            if (hour >= 0 && hour < 24) sales.hours[size_t(hour)] = amount.value();
        }
    }
    return sales;
}

}  // namespace vendura::office
