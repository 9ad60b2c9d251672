#pragma once

#include "office/admin_link.h"

#include <QProcessEnvironment>
#include <QStringList>
#include <QTextStream>

#include <functional>
#include <memory>

namespace vendura::console {

using office::AdminLink;
using office::ConnectionOptions;
using office::PqAdminLink;

using Connector =
    std::function<Result<std::unique_ptr<AdminLink>>(const ConnectionOptions& options)>;

// The connection from the environment (VENDURA_CENTRAL_SERVIDOR, _PUERTO, _BASE, _USUARIO,
// _CLAVE) and the options before the command (--servidor, --puerto, --base, --usuario), the
// options winning. The options are taken out of args.
Result<ConnectionOptions> connectionOptions(QStringList& args, const QProcessEnvironment& env);

// vendura-central: runs one command; answers the exit code.
int runConsole(QStringList args, const QProcessEnvironment& env, const Connector& connect,
               QTextStream& out, QTextStream& err);

}  // namespace vendura::console
