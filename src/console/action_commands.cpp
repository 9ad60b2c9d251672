#include "console/command.h"

#include "office/office_action.h"

namespace vendura::console {
namespace {

// "PUNTO MONTO [--fecha FECHA] [--nota NOTA]" from the action's fields.
QString usageOf(const office::OfficeAction& a) {
    QStringList parts;
    for (const office::ActionField& f : a.fields) {
        QString part = f.flag ? u"--"_s + f.name + u" "_s + f.name.toUpper() : f.name;
        if (f.rest) part += u"..."_s;
        parts << (f.optional ? u"["_s + part + u"]"_s : part);
    }
    return parts.join(u' ');
}

// The values in the fields' order from the console's words: values in order, then --options;
// the last field may take every word left.
std::optional<QStringList> typedValues(const CommandContext& c, const office::OfficeAction& a) {
    QStringList known;
    for (const office::ActionField& f : a.fields) {
        if (f.flag) known << f.name;
    }
    const Flags flags = takeFlags(c.args, known);
    if (!flags.error.isEmpty()) {
        c.fail(flags.error);
        return std::nullopt;
    }
    QStringList positional = flags.positional, typed;
    for (const office::ActionField& f : a.fields) {
        if (f.flag) {
            typed << flags.values.value(f.name);
        } else if (f.rest) {
            typed << positional.join(u' ');
            positional.clear();
        } else {
            typed << (positional.isEmpty() ? QString() : positional.takeFirst());
        }
    }
    if (!positional.isEmpty()) {
        c.fail(u"sobra \""_s + positional.join(u' ') + u"\""_s);
        return std::nullopt;
    }
    return typed;
}

Command commandOf(const office::OfficeAction& a) {
    // values in order, required ones first; an option is its name and its value; a last field
    // taking every word left takes any number
    int required = 0, most = 0;
    bool anyNumber = false;
    for (const office::ActionField& f : a.fields) {
        most += f.flag ? 2 : 1;
        if (!f.optional && !f.flag) ++required;
        anyNumber = anyNumber || f.rest;
    }
    return {a.words,
            usageOf(a),
            a.help,
            required,
            anyNumber ? -1 : most,
            true,
            [a](const CommandContext& c) {
                const auto typed = typedValues(c, a);
                if (!typed) return kRefused;
                auto done = office::runAction(*c.link, a, *typed);
                if (!done) return c.fail(done.error().description);
                c.out << done.value() << '\n';
                return kOk;
            }};
}

}  // namespace

std::vector<Command> actionCommands() {
    std::vector<Command> commands;
    for (const auto& family : {office::salesPointActions(), office::moneyActions(),
                               office::payoutActions(), office::officeLoginActions()}) {
        for (const office::OfficeAction& a : family) commands.push_back(commandOf(a));
    }
    return commands;
}

}  // namespace vendura::console
