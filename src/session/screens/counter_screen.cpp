#include "session/screens/counter_screen.h"

#include "session/server_link.h"

namespace vendura {

CounterScreen::CounterScreen(ServerLink& link, const QString& name, const QString& title,
                             QWidget* over)
    : SecondaryScreen(over, name, title), link_(link) {
    useColoursOf(link.session());
}

Session& CounterScreen::session() {
    return link_.session();
}

Dialogs& CounterScreen::dialogs() {
    return link_.dialogs();
}

}  // namespace vendura
