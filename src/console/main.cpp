#include "console/console.h"

#include <QCoreApplication>

using namespace vendura;

// The central office's console.
int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);
    return console::runConsole(
        app.arguments().mid(1), QProcessEnvironment::systemEnvironment(),
        [](const console::ConnectionOptions& o) -> Result<std::unique_ptr<console::AdminLink>> {
            auto link = console::PqAdminLink::connect(o);
            if (!link) return link.error();
            return std::unique_ptr<console::AdminLink>(std::move(link.value()));
        },
        out, err);
}
