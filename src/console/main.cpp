#include "session/database_account.h"

#include <QCoreApplication>
#include <QStringList>
#include <QTextStream>

using namespace vendura;

namespace {

int usage(QTextStream& err) {
    err << "uso: vendura-central cuenta-bd CUENTA CLAVE\n"
           "  cuenta-bd  el valor \"CuentaBD\" del VENDURA.INI de un punto de venta\n";
    return 2;
}

}  // namespace

// The central office's console.
int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);
    const QStringList args = app.arguments().mid(1);
    if (args.size() == 3 && args[0] == u"cuenta-bd"_s) {
        out << encodeAccount({args[1], args[2]}) << '\n';
        return 0;
    }
    return usage(err);
}
