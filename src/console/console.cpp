#include "console/console.h"

#include "console/command.h"

namespace vendura::console {
namespace {

std::vector<Command> allCommands() {
    std::vector<Command> all;
    for (auto family : {actionCommands, lotteryCommands, resultCommands, exposureCommands,
                        officeCommands, settlementCommands}) {
        for (Command& c : family()) all.push_back(std::move(c));
    }
    return all;
}

int usage(const std::vector<Command>& commands, QTextStream& err) {
    err << "uso: vendura-central [--servidor H] [--puerto P] [--base B] [--usuario U] COMANDO\n"
           "La clave del usuario va en VENDURA_CENTRAL_CLAVE (o en PGPASSWORD / ~/.pgpass).\n\n";
    for (const Command& c : commands) {
        err << "  " << (c.words.join(u' ') + u" "_s + c.arguments).leftJustified(60) << '\n'
            << "      " << c.help << '\n';
    }
    err.flush();
    return kUsage;
}

}  // namespace

Result<ConnectionOptions> connectionOptions(QStringList& args, const QProcessEnvironment& env) {
    auto fromEnvironment = office::connectionFromEnvironment(env);
    if (!fromEnvironment) return Error{kUsage, fromEnvironment.error().description};
    ConnectionOptions o = fromEnvironment.value();
    QString port = QString::number(o.port);
    while (!args.isEmpty() && args.first().startsWith(u"--"_s)) {
        const QString option = args.takeFirst();
        if (args.isEmpty()) return Error{kUsage, u"falta el valor de "_s + option};
        const QString value = args.takeFirst();
        if (option == u"--servidor"_s) {
            o.host = value;
        } else if (option == u"--puerto"_s) {
            port = value;
        } else if (option == u"--base"_s) {
            o.database = value;
        } else if (option == u"--usuario"_s) {
            o.user = value;
        } else {
            return Error{kUsage, u"opción desconocida: "_s + option};
        }
    }
    bool ok = false;
    o.port = port.toInt(&ok);
    if (!ok || o.port <= 0 || o.port > 65535) return Error{kUsage, u"puerto inválido: "_s + port};
    return o;
}

int runConsole(QStringList args, const QProcessEnvironment& env, const Connector& connect,
               QTextStream& out, QTextStream& err) {
    const std::vector<Command> commands = allCommands();
    auto options = connectionOptions(args, env);
    if (!options) {
        err << "error: " << options.error().description << '\n';
        usage(commands, err);
        return kUsage;
    }
    const Command* chosen = nullptr;
    for (const Command& c : commands) {
        if (args.size() >= c.words.size() && args.mid(0, c.words.size()) == c.words &&
            (!chosen || c.words.size() > chosen->words.size())) {
            chosen = &c;
        }
    }
    if (!chosen) return usage(commands, err);
    const QStringList rest = args.mid(chosen->words.size());
    if (rest.size() < chosen->minArgs || (chosen->maxArgs >= 0 && rest.size() > chosen->maxArgs)) {
        err << "uso: vendura-central " << chosen->words.join(u' ') << ' ' << chosen->arguments
            << '\n';
        err.flush();
        return kUsage;
    }

    std::unique_ptr<AdminLink> link;
    if (chosen->needsDatabase) {
        auto connected = connect(options.value());
        if (!connected) {
            err << "error: no se pudo conectar con la base central como " << options.value().user
                << ": " << connected.error().description << '\n';
            err.flush();
            return kNoConnection;
        }
        link = std::move(connected.value());
    }
    CommandContext context{rest, link.get(), out, err};
    const int code = chosen->run(context);
    out.flush();
    err.flush();
    return code;
}

}  // namespace vendura::console
