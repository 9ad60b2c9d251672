#include "office/screens/desk_window.h"
#include "office/screens/office_login.h"
#include "platform/screens/message_box_dialogs.h"

#include <QApplication>
#include <QProcessEnvironment>

using namespace vendura;

// The central office's desk. The server and login may be given as the console's are
// (VENDURA_CENTRAL_SERVIDOR, _PUERTO, _BASE, _USUARIO); the password is asked for.
int main(int argc, char** argv) {
    QApplication app(argc, argv);
    MessageBoxDialogs dialogs;
    auto fromEnvironment =
        office::connectionFromEnvironment(QProcessEnvironment::systemEnvironment());
    if (!fromEnvironment) {
        dialogs.message(DialogIcon::Critical, u"vendura - Oficina central"_s,
                        fromEnvironment.error().description);
        return 2;
    }
    office::ConnectionOptions defaults = fromEnvironment.value();
    defaults.password.clear();  // the person types it
    office::OfficeLogin login(
        [](const office::ConnectionOptions& o) -> Result<std::unique_ptr<office::AdminLink>> {
            auto link = office::PqAdminLink::connect(o);
            if (!link) return link.error();
            return std::unique_ptr<office::AdminLink>(std::move(link.value()));
        },
        dialogs, defaults);
    if (login.exec() != QDialog::Accepted) return 0;
    office::DeskWindow desk(login.takeLink(), login.login(), dialogs, QDate::currentDate());
    desk.show();
    return app.exec();
}
