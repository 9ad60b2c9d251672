#include "office/open_tickets.h"

namespace vendura::office {

Result<std::vector<OpenTicket>> openTickets(AdminLink& link, const QString& vendor) {
    auto rows = link.call(u"tickets_abiertos"_s, {orNull(vendor.trimmed())});
    if (!rows) return rows.error();
    const RecordSet& r = rows.value();
    std::vector<OpenTicket> tickets;
    for (int i = 0; i < r.size(); ++i) {
        auto quota = Money::parse(r.text(i, u"cupo"_s));
        if (!quota) return quota.error();
        tickets.push_back({r.text(i, u"cod_vendedor"_s), r.text(i, u"nticket"_s),
                           r.text(i, u"creado"_s).left(19), r.text(i, u"ultima_jugada"_s).left(19),
                           r.text(i, u"jugadas"_s).toInt(), quota.value()});
    }
    return tickets;
}

Result<int> releaseTickets(AdminLink& link, const QString& vendor, const QString& ticket) {
    auto rows = link.call(u"liberar_tickets"_s, {vendor.trimmed(), orNull(ticket)});
    if (!rows) return rows.error();
    return rows.value().text(0, 0).toInt();
}

}  // namespace vendura::office
