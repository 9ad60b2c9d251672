#include "console/command.h"
#include "office/open_tickets.h"

#include <QTime>

namespace vendura::console {
namespace {

Command openClose(const QString& family, const QString& verb, bool closed) {
    const bool draw = family == u"sorteo"_s;
    return {
        {family, verb},
        draw ? u"LOTERIA FECHA"_s : u"LOTERIA"_s,
        draw ? (closed ? u"cierra a mano el sorteo de un día (no se abre de nuevo)"_s
                       : u"confirma que el sorteo de un día sigue abierto: uno cerrado no se "
                         u"abre de nuevo"_s)
             : (closed ? u"saca una lotería de la venta"_s : u"devuelve una lotería a la venta"_s),
        draw ? 2 : 1,
        draw ? 2 : 1,
        true,
        [draw, closed](const CommandContext& c) {
            const QString flag = closed ? u"true"_s : u"false"_s;
            const QString lottery = c.args[0].toUpper();
            if (draw) {
                const auto day = isoDate(c, c.args[1]);
                if (!day || !c.call(u"cerrar_sorteo"_s, {lottery, *day, flag})) {
                    return kRefused;
                }
                c.out << "Sorteo " << lottery << " del " << *day
                      << (closed ? " cerrado\n" : " abierto\n");
            } else {
                if (!c.call(u"cerrar_loteria"_s, {lottery, flag})) return kRefused;
                c.out << "Lotería " << lottery << (closed ? " cerrada\n" : " abierta\n");
            }
            return kOk;
        }};
}

int openTickets(const CommandContext& c) {
    auto tickets = office::openTickets(*c.link, c.args.isEmpty() ? QString() : c.args[0]);
    if (!tickets) return c.fail(tickets.error().description);
    c.out << "PUNTO  TICKET      ABIERTO              ULTIMA JUGADA        JUGADAS  CUPO\n";
    for (const office::OpenTicket& t : tickets.value()) {
        c.out << t.vendor.leftJustified(7) << t.ticket.leftJustified(12)
              << t.opened.leftJustified(21) << t.lastPlay.leftJustified(21)
              << QString::number(t.plays).leftJustified(9) << t.quota.plain() << '\n';
    }
    return kOk;
}

}  // namespace

std::vector<Command> lotteryCommands() {
    return {
        openClose(u"loteria"_s, u"abrir"_s, false),
        openClose(u"loteria"_s, u"cerrar"_s, true),
        openClose(u"sorteo"_s, u"abrir"_s, false),
        openClose(u"sorteo"_s, u"cerrar"_s, true),
        {{u"sorteo"_s, u"anular"_s},
         u"LOTERIA FECHA"_s,
         u"declara nulo un sorteo cerrado sin resultados: sus jugadas se reembolsan"_s,
         2,
         2,
         true,
         [](const CommandContext& c) {
             const auto day = isoDate(c, c.args[1]);
             if (!day) return kRefused;
             const QString lottery = c.args[0].toUpper();
             auto rows = c.call(u"anular_sorteo"_s, {lottery, *day});
             if (!rows) return kRefused;
             c.out << "Sorteo " << lottery << " del " << *day << " anulado: " << rows->text(0, 0)
                   << " reembolsado\n";
             return kOk;
         }},
        {{u"loteria"_s, u"cierre"_s},
         u"LOTERIA HH:MM [FECHA]"_s,
         u"hora de cierre de la lotería desde el próximo sorteo, o la de un sorteo abierto"_s,
         2,
         3,
         true,
         [](const CommandContext& c) {
             const QTime time = QTime::fromString(c.args[1], u"HH:mm"_s);
             if (!time.isValid()) return c.fail(u"hora inválida \"%1\": HH:MM"_s.arg(c.args[1]));
             FieldValue day;
             if (c.args.size() > 2) {
                 const auto d = isoDate(c, c.args[2]);
                 if (!d) return kRefused;
                 day = *d;
             }
             const QString lottery = c.args[0].toUpper();
             if (!c.call(u"fijar_cierre"_s, {lottery, time.toString(u"HH:mm"_s), day})) {
                 return kRefused;
             }
             c.out << lottery << ": cierra a las " << time.toString(u"HH:mm"_s)
                   << (day ? u" el "_s + *day : u" todos los días"_s) << '\n';
             return kOk;
         }},
        {{u"tickets"_s, u"abiertos"_s},
         u"[PUNTO]"_s,
         u"los tickets abiertos de los puntos de venta y el cupo que retienen"_s,
         0,
         1,
         true,
         openTickets},
        {{u"tickets"_s, u"liberar"_s},
         u"PUNTO [TICKET]"_s,
         u"libera los tickets abiertos de un punto (o uno): su cupo vuelve a la venta"_s,
         1,
         2,
         true,
         [](const CommandContext& c) {
             auto released = office::releaseTickets(*c.link, c.args[0],
                                                    c.args.size() > 1 ? c.args[1] : QString());
             if (!released) return c.fail(released.error().description);
             c.out << c.args[0] << ": " << released.value() << " ticket(s) liberado(s)\n";
             return kOk;
         }},
        {{u"inactividad"_s},
         u"MINUTOS"_s,
         u"minutos sin jugadas tras los que un ticket abierto devuelve su cupo (30 si no se fija)"_s,
         1,
         1,
         true,
         [](const CommandContext& c) {
             const auto minutes = wholeNumber(c, c.args[0], u"minutos"_s);
             if (!minutes || !c.call(u"fijar_minutos_inactividad"_s, {*minutes})) return kRefused;
             c.out << "Un ticket abierto sin jugadas por " << *minutes
                   << " minutos devuelve su cupo\n";
             return kOk;
         }},
        {{u"loteria"_s, u"cupos"_s},
         u"LOTERIA TRIPLE TERMINAL [FECHA]"_s,
         u"cupos (Bs.F. por número) de triples y terminales, siempre o en un día"_s,
         3,
         4,
         true,
         [](const CommandContext& c) {
             const auto triple = decimal(c, c.args[1], u"cupo de triples"_s);
             if (!triple) return kRefused;
             const auto terminal = decimal(c, c.args[2], u"cupo de terminales"_s);
             if (!terminal) return kRefused;
             FieldValue day;
             if (c.args.size() > 3) {
                 const auto d = isoDate(c, c.args[3]);
                 if (!d) return kRefused;
                 day = *d;
             }
             const QString lottery = c.args[0].toUpper();
             if (!c.call(u"fijar_cupos"_s, {lottery, *triple, *terminal, day})) return kRefused;
             c.out << lottery << ": cupos " << *triple << " (triples) y " << *terminal
                   << " (terminales)" << (day ? u" el "_s + *day : QString()) << '\n';
             return kOk;
         }},
    };
}

}  // namespace vendura::console
