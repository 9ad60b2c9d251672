#pragma once

#include "session/screens/secondary_screen.h"

namespace vendura {

class Dialogs;
class ServerLink;

// A secondary screen that talks to the central database through the counter's link; its entry
// fields take the session's focus colours.
class CounterScreen : public SecondaryScreen {
    Q_OBJECT
  public:
    CounterScreen(ServerLink& link, const QString& name, const QString& title, QWidget* over);

  protected:
    ServerLink& link() { return link_; }
    Session& session();
    Dialogs& dialogs();

  private:
    ServerLink& link_;
};

}  // namespace vendura
