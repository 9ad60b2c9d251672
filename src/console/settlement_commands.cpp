#include "console/command.h"

namespace vendura::console {
namespace {

// PUNTO MONTO [--fecha F] [--referencia R | --nota T]: the values of an entry of the account,
// ready for the admin function (the day null for today).
struct Entry {
    QString vendor;
    QString amount;
    FieldValue day;
    QString text;
};

std::optional<Entry> entryOf(const CommandContext& c, const QStringList& positional, const Flags& f,
                             const QString& textFlag) {
    const auto amount = decimal(c, positional[1], u"monto"_s);
    if (!amount) return std::nullopt;
    Entry e{positional[0], *amount, {}, f.values.value(textFlag)};
    if (f.values.contains(u"fecha"_s)) {
        const auto day = isoDate(c, f.values.value(u"fecha"_s));
        if (!day) return std::nullopt;
        e.day = *day;
    }
    return e;
}

int registerDeposit(const CommandContext& c) {
    const Flags f = takeFlags(c.args, {u"fecha"_s, u"referencia"_s});
    if (!f.error.isEmpty()) return c.fail(f.error);
    if (f.positional.size() != 2) return c.fail(u"se esperan PUNTO MONTO"_s);
    const auto e = entryOf(c, f.positional, f, u"referencia"_s);
    if (!e) return kRefused;
    auto rows = c.call(u"registrar_deposito"_s, {e->vendor, e->amount, e->day, e->text});
    if (!rows) return kRefused;
    c.out << "Depósito " << rows->text(0, 0) << " de " << e->vendor << ": " << e->amount << '\n';
    return kOk;
}

// A loan ('2'), an instalment paid ('3'), or any kind given.
int registerMovement(const CommandContext& c, const QString& fixedKind) {
    const Flags f = takeFlags(c.args, {u"fecha"_s, u"nota"_s});
    if (!f.error.isEmpty()) return c.fail(f.error);
    QStringList positional = f.positional;
    QString kind = fixedKind;
    if (kind.isEmpty()) {
        if (positional.size() != 3) return c.fail(u"se esperan PUNTO TIPO MONTO"_s);
        kind = positional.takeAt(1);
    }
    if (positional.size() != 2) return c.fail(u"se esperan PUNTO MONTO"_s);
    const auto e = entryOf(c, positional, f, u"nota"_s);
    if (!e) return kRefused;
    auto rows = c.call(u"registrar_movimiento"_s, {e->vendor, kind, e->amount, e->day, e->text});
    if (!rows) return kRefused;
    c.out << "Movimiento " << rows->text(0, 0) << " de " << e->vendor << ": " << e->amount << '\n';
    return kOk;
}

int settle(const CommandContext& c) {
    const auto day = isoDate(c, c.args[1]);
    if (!day) return kRefused;
    auto rows = c.call(u"liquidar"_s, {c.args[0], *day});
    if (!rows) return kRefused;
    c.out << c.args[0] << " liquidado hasta el " << *day << ": saldo de jugada "
          << rows->text(0, u"saldo_jugada"_s) << ", saldo de préstamos "
          << rows->text(0, u"saldo_prestamo"_s) << '\n';
    return kOk;
}

int statement(const CommandContext& c) {
    FieldValue day;
    if (c.args.size() > 1) {
        const auto d = isoDate(c, c.args[1]);
        if (!d) return kRefused;
        day = *d;
    }
    auto rows = c.call(u"estado_cuenta"_s, {c.args[0], day});
    if (!rows) return kRefused;
    const std::pair<const char*, const char*> lines[] = {{"Última liquidación", "ultima"},
                                                         {"Deuda", "deuda"},
                                                         {"Cuenta del día", "cuenta"},
                                                         {"Movimientos", "movimiento"},
                                                         {"Depósitos", "deposito"},
                                                         {"Saldo de jugada", "total"},
                                                         {"Saldo de préstamos", "saldo_prestamo"},
                                                         {"Saldo general", "total_general"},
                                                         {"Por confirmar", "por_confirmar"}};
    for (const auto& [label, field] : lines) {
        const QString value = rows->text(0, QString::fromLatin1(field));
        c.out << QString::fromUtf8(label).leftJustified(20) << (value.isEmpty() ? u"-"_s : value)
              << '\n';
    }
    return kOk;
}

int pendingMovements(const CommandContext& c) {
    const FieldValue vendor = c.args.isEmpty() ? FieldValue() : FieldValue(c.args[0]);
    auto rows = c.call(u"movimientos_pendientes"_s, {vendor});
    if (!rows) return kRefused;
    c.out << "PUNTO  DOCUMENTO   FECHA       MONTO         MOVIMIENTO\n";
    for (int r = 0; r < rows->size(); ++r) {
        c.out << rows->text(r, u"cod_vendedor"_s).leftJustified(7)
              << rows->text(r, u"nrogasto"_s).leftJustified(12)
              << rows->text(r, u"fecha"_s).leftJustified(12)
              << rows->text(r, u"monto"_s).leftJustified(14) << rows->text(r, u"descripcion"_s)
              << '\n';
    }
    return kOk;
}

}  // namespace

std::vector<Command> settlementCommands() {
    return {
        {{u"deposito"_s, u"registrar"_s},
         u"PUNTO MONTO [--fecha F] [--referencia R]"_s,
         u"un depósito del punto de venta en la cuenta de la oficina central (hoy si no se da "
         u"fecha)"_s,
         2,
         6,
         true,
         registerDeposit},
        {{u"deposito"_s, u"eliminar"_s},
         u"NUMERO"_s,
         u"borra un depósito registrado por error, si su día no está liquidado"_s,
         1,
         1,
         true,
         [](const CommandContext& c) {
             const auto id = wholeNumber(c, c.args[0], u"número de depósito"_s);
             if (!id || !c.call(u"eliminar_deposito"_s, {*id})) return kRefused;
             c.out << "Depósito " << *id << " eliminado\n";
             return kOk;
         }},
        {{u"prestamo"_s, u"otorgar"_s},
         u"PUNTO MONTO [--fecha F] [--nota T]"_s,
         u"un préstamo al punto de venta (movimiento \"2.- Prestamo\")"_s,
         2,
         6,
         true,
         [](const CommandContext& c) { return registerMovement(c, u"2"_s); }},
        {{u"prestamo"_s, u"cuota"_s},
         u"PUNTO MONTO [--fecha F] [--nota T]"_s,
         u"una cuota de préstamo pagada (movimiento \"3.- Pago Couta Prestamo\")"_s,
         2,
         6,
         true,
         [](const CommandContext& c) { return registerMovement(c, u"3"_s); }},
        {{u"movimiento"_s, u"registrar"_s},
         u"PUNTO TIPO MONTO [--fecha F] [--nota T]"_s,
         u"un movimiento de la oficina central, TIPO 0 a 4 como los del punto de venta"_s,
         3,
         7,
         true,
         [](const CommandContext& c) { return registerMovement(c, QString()); }},
        {{u"movimiento"_s, u"pendientes"_s},
         u"[PUNTO]"_s,
         u"los movimientos que los puntos de venta registraron y esperan confirmación"_s,
         0,
         1,
         true,
         pendingMovements},
        {{u"movimiento"_s, u"confirmar"_s},
         u"PUNTO DOCUMENTO"_s,
         u"confirma un movimiento del punto de venta: desde ahora cuenta en su cuenta"_s,
         2,
         2,
         true,
         [](const CommandContext& c) {
             auto rows = c.call(u"confirmar_movimiento"_s, {c.args[0], c.args[1]});
             if (!rows) return kRefused;
             c.out << "Movimiento " << c.args[1] << " de " << c.args[0] << " confirmado: cuenta el "
                   << rows->text(0, 0) << '\n';
             return kOk;
         }},
        {{u"movimiento"_s, u"rechazar"_s},
         u"PUNTO DOCUMENTO MOTIVO"_s,
         u"rechaza un movimiento del punto de venta, con el motivo: no cuenta nunca"_s,
         3,
         3,
         true,
         [](const CommandContext& c) {
             if (!c.call(u"rechazar_movimiento"_s, {c.args[0], c.args[1], c.args[2]})) {
                 return kRefused;
             }
             c.out << "Movimiento " << c.args[1] << " de " << c.args[0] << " rechazado\n";
             return kOk;
         }},
        {{u"liquidar"_s},
         u"PUNTO FECHA"_s,
         u"cierra la cuenta del punto de venta hasta un día terminado con todos sus resultados"_s,
         2,
         2,
         true,
         settle},
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
