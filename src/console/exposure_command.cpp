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
    auto draw = office::readDrawExposure(*c.link, f.positional[0], *day);
    if (!draw) return c.fail(draw.error().description);
    const auto line = [&c](const QStringList& columns) {
        c.out << columns[0].leftJustified(7);
        for (int i = 1; i < columns.size(); ++i) c.out << columns[i].rightJustified(22);
        c.out << '\n';
    };
    QStringList captions = office::exposureCaptions(draw.value());
    for (QString& caption : captions) caption = caption.toUpper();
    line(captions);
    for (const office::NumberExposure& n : office::topExposures(draw.value().numbers, count)) {
        line(office::exposureRow(draw.value(), n));
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
