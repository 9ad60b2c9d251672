#include "console/command.h"
#include "office/exposure.h"

namespace vendura::console {
namespace {

// LOTERIA FECHA [--primeros N]: the numbers that pay most if they come out first.
int showExposure(const CommandContext& c) {
    const Flags f = takeFlags(c.args, {u"primeros"_s});
    if (!f.error.isEmpty()) return c.fail(f.error);
    if (f.positional.size() != 2) return c.fail(u"se esperan LOTERIA FECHA [--primeros N]"_s);
    const auto day = isoDate(c, f.positional[1]);
    if (!day) return kRefused;
    int count = 10;
    if (f.values.contains(u"primeros"_s)) {
        const auto n = wholeNumber(c, f.values.value(u"primeros"_s), u"cantidad"_s);
        if (!n) return kRefused;
        count = std::min(n->toInt(), 1000);
    }
    auto rows = c.call(u"exposicion"_s, {f.positional[0].toUpper(), *day});
    if (!rows) return kRefused;
    auto numbers = office::readExposure(*rows);
    if (!numbers) return c.fail(numbers.error().description);
    c.out << "NUM  VENDIDO        CUPO RESTANTE  % CUPO  PAGA SI SALE PRIMERO\n";
    for (const office::NumberExposure& n : office::topExposures(numbers.value(), count)) {
        c.out << n.numero.leftJustified(5) << n.vendido.display().rightJustified(12) << "  "
              << n.quotaLeft().display().rightJustified(13) << "  "
              << QString::number(n.soldShare() / 100).rightJustified(6) << "  "
              << n.pagaPrimero.display().rightJustified(20) << '\n';
    }
    return kOk;
}

}  // namespace

std::vector<Command> exposureCommands() {
    return {{{u"exposicion"_s},
             u"LOTERIA FECHA [--primeros N]"_s,
             u"los números que más pagarían si salen primero en el sorteo, con lo vendido y el "
             u"cupo que les queda"_s,
             2,
             4,
             true,
             showExposure}};
}

}  // namespace vendura::console
