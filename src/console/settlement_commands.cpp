#include "console/command.h"

#include "office/account_book.h"

#include <QDate>

namespace vendura::console {
namespace {

int statement(const CommandContext& c) {
    QString day;
    if (c.args.size() > 1) {
        const auto d = isoDate(c, c.args[1]);
        if (!d) return kRefused;
        day = *d;
    }
    auto lines = office::readStatement(*c.link, c.args[0], day);
    if (!lines) return c.fail(lines.error().description);
    for (const auto& [label, value] : lines.value()) {
        c.out << label.leftJustified(20) << value << '\n';
    }
    return kOk;
}

// Every sales point's statement on a day, a line each: the figures a settlement of the day
// would keep.
int statementsOfDay(const CommandContext& c) {
    const auto day = isoDate(c, c.args[0]);
    if (!day) return kRefused;
    auto statements = office::statementsOfDay(*c.link, *day);
    if (!statements) return c.fail(statements.error().description);
    c.out << "PUNTO  LIQUIDADO   ";
    if (!statements.value().empty()) {
        for (const auto& [label, value] : statements.value().front().lines) {
            c.out << label.toUpper().left(13).leftJustified(14);
        }
    }
    c.out << '\n';
    for (const office::PointStatement& p : statements.value()) {
        c.out << p.vendor.leftJustified(7)
              << (p.settledTo.isEmpty() ? u"-"_s : p.settledTo).leftJustified(11);
        for (const auto& [label, value] : p.lines) c.out << value.leftJustified(14);
        c.out << '\n';
    }
    return kOk;
}

// [PUNTO] [--desde F] [--hasta F]: the deposits of those days (today when no day is given).
int listDeposits(const CommandContext& c) {
    const Flags f = takeFlags(c.args, {u"desde"_s, u"hasta"_s});
    if (!f.error.isEmpty()) return c.fail(f.error);
    if (f.positional.size() > 1) return c.fail(u"se espera [PUNTO] [--desde F] [--hasta F]"_s);
    const QString today = QDate::currentDate().toString(Qt::ISODate);
    const QString from = f.values.value(u"desde"_s, f.values.value(u"hasta"_s, today));
    auto found =
        office::deposits(*c.link, f.positional.value(0), from, f.values.value(u"hasta"_s, from));
    if (!found) return c.fail(found.error().description);
    c.out << "NUMERO  PUNTO  FECHA       MONTO         REFERENCIA\n";
    for (const office::Deposit& d : found.value()) {
        c.out << d.number.leftJustified(8) << d.vendor.leftJustified(7) << d.day.leftJustified(12)
              << d.amount.leftJustified(14) << d.reference << (d.settled ? " (liquidado)" : "")
              << '\n';
    }
    return kOk;
}

int pendingMovements(const CommandContext& c) {
    auto pending = office::pendingMovements(*c.link, c.args.value(0));
    if (!pending) return c.fail(pending.error().description);
    c.out << "PUNTO  DOCUMENTO   FECHA       MONTO         MOVIMIENTO\n";
    for (const office::PendingMovement& m : pending.value()) {
        c.out << m.vendor.leftJustified(7) << m.document.leftJustified(12)
              << m.day.leftJustified(12) << m.amount.leftJustified(14) << m.description << '\n';
    }
    return kOk;
}

}  // namespace

// Deposits, loans, confirmations and settlement are the office's actions (money_actions.cpp).
std::vector<Command> settlementCommands() {
    return {
        {{u"deposito"_s, u"ver"_s},
         u"[PUNTO] [--desde F] [--hasta F]"_s,
         u"los depósitos de esos días (hoy si no se dan), con su número y si su día está "
         u"liquidado"_s,
         0,
         5,
         true,
         listDeposits},
        {{u"movimiento"_s, u"pendientes"_s},
         u"[PUNTO]"_s,
         u"los movimientos que los puntos de venta registraron y esperan confirmación"_s,
         0,
         1,
         true,
         pendingMovements},
        {{u"estados"_s},
         u"FECHA"_s,
         u"el estado de cuenta de cada punto de venta en un día, para liquidarlo"_s,
         1,
         1,
         true,
         statementsOfDay},
        {{u"estado-cuenta"_s},
         u"PUNTO [FECHA]"_s,
         u"el estado de cuenta del punto de venta en un día (hoy si no se da fecha)"_s,
         1,
         2,
         true,
         statement},
    };
}

}  // namespace vendura::console
