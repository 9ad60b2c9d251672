#include "console/command.h"
#include "office/account_book.h"
#include "office/draw_results.h"

namespace vendura::console {
namespace {

// LOTERIA FECHA TRIPLE [--segundo N] [--tercero N] [--especial N]
int enterResults(const CommandContext& c, bool correction, const QString& done) {
    const Flags f = takeFlags(c.args, {u"segundo"_s, u"tercero"_s, u"especial"_s});
    if (!f.error.isEmpty()) return c.fail(f.error);
    if (f.positional.size() != 3) {
        return c.fail(
            u"se esperan LOTERIA FECHA TRIPLE y, si las hay, --segundo, --tercero, "
            u"--especial"_s);
    }
    const office::DrawEntry entry{f.positional[0].toUpper(),
                                  f.positional[1],
                                  f.positional[2],
                                  f.values.value(u"segundo"_s),
                                  f.values.value(u"tercero"_s),
                                  f.values.value(u"especial"_s)};
    auto winners = office::enterNumbers(*c.link, entry, correction);
    if (!winners) return c.fail(winners.error().description);
    c.out << "Sorteo " << entry.lottery << " del " << entry.day << ": " << done << ' '
          << entry.triple;
    for (const QString& name : {u"segundo"_s, u"tercero"_s, u"especial"_s}) {
        if (f.values.contains(name)) c.out << ", " << name << ' ' << f.values.value(name);
    }
    // the first of the two entries a draw's numbers need answers nothing yet
    if (!winners.value()) {
        c.out << "; anotado: cuenta cuando otra persona entre los mismos números\n";
    } else {
        c.out << "; " << *winners.value() << " jugada(s) premiada(s)\n";
    }
    return kOk;
}

int showPending(const CommandContext& c) {
    auto entries = office::pendingEntries(*c.link);
    if (!entries) return c.fail(entries.error().description);
    if (entries.value().empty()) c.out << "Ningún sorteo espera la confirmación de sus números\n";
    for (const office::PendingEntry& e : entries.value()) {
        c.out << e.lottery << ' ' << e.day << ": " << (e.correction ? "corrección " : "")
              << e.numbers << ", anotado por " << e.login << " a las " << e.at << '\n';
    }
    return kOk;
}

int discardPending(const CommandContext& c) {
    auto numbers = office::discardEntry(*c.link, c.args[0], c.args[1]);
    if (!numbers) return c.fail(numbers.error().description);
    c.out << "Sorteo " << c.args[0].toUpper() << " del " << c.args[1]
          << ": descartados los números " << numbers.value() << '\n';
    return kOk;
}

// The payouts in force, or every one there was with the moment the next replaced it.
int showPayouts(const CommandContext& c, bool history) {
    auto table = history ? office::payoutHistory(*c.link, c.args.value(0))
                         : office::payoutTable(*c.link, c.args.value(0));
    if (!table) return c.fail(table.error().description);
    c.out << "LOTERIA  TIPO      VARIANTE  MULTIPLICADOR  DESDE"
          << (history ? "                HASTA" : "") << '\n';
    for (const office::Payout& p : table.value()) {
        c.out << p.lottery.leftJustified(9) << p.kind.leftJustified(10)
              << p.variant.leftJustified(10) << p.multiplier.leftJustified(15);
        if (history) {
            c.out << (p.since.isEmpty() ? u"-"_s : p.since).leftJustified(21)
                  << (p.until.isEmpty() ? u"en vigor"_s : p.until);
        } else {
            c.out << p.since;
        }
        c.out << '\n';
    }
    return kOk;
}

}  // namespace

std::vector<Command> resultCommands() {
    return {
        {{u"resultado"_s, u"registrar"_s},
         u"LOTERIA FECHA TRIPLE [--segundo N] [--tercero N] [--especial N]"_s,
         u"anota los números ganadores de un sorteo cerrado; cuentan cuando otra persona entra "
         u"los mismos"_s,
         3,
         9,
         true,
         [](const CommandContext& c) { return enterResults(c, false, u"resultado"_s); }},
        {{u"resultado"_s, u"corregir"_s},
         u"LOTERIA FECHA TRIPLE [--segundo N] [--tercero N] [--especial N]"_s,
         u"corrige los números de un sorteo, con la misma regla de dos personas; se niega si "
         u"cambia un premio ya pagado"_s,
         3,
         9,
         true,
         [](const CommandContext& c) { return enterResults(c, true, u"corregido a"_s); }},
        {{u"resultado"_s, u"pendientes"_s},
         QString(),
         u"los números que esperan a una segunda persona"_s,
         0,
         0,
         true,
         showPending},
        {{u"resultado"_s, u"descartar"_s},
         u"LOTERIA FECHA"_s,
         u"descarta los números anotados que esperan confirmación, para entrarlos de nuevo"_s,
         2,
         2,
         true,
         discardPending},
        {{u"pagos"_s, u"ver"_s},
         u"[LOTERIA]"_s,
         u"la tabla de pagos"_s,
         0,
         1,
         true,
         [](const CommandContext& c) { return showPayouts(c, false); }},
        {{u"pagos"_s, u"historia"_s},
         u"[LOTERIA]"_s,
         u"cada pago que hubo, desde cuándo y hasta cuándo rigió"_s,
         0,
         1,
         true,
         [](const CommandContext& c) { return showPayouts(c, true); }},
    };
}

}  // namespace vendura::console
