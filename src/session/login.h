#pragma once

#include <QString>

namespace vendura {

class Launcher;
class ProgramEnd;
class ServerLink;

struct LoginFields {
    QString user;
    QString password;
    QString server;
    QString database;
};

enum class LoginOutcome {
    Stay,           // a message was shown; the start-up screen waits for another attempt
    StayFocusUser,  // a field was empty: the focus goes to the user field
    OpenSales,      // Session is filled: the sales screen opens
    Ended,          // the program was told to end
};

// The login of the start-up screen: from the four fields to a filled Session, the version
// check, the configuration written back and the temporary ticket number.
class Login {
  public:
    Login(ServerLink& link, Launcher& launcher, ProgramEnd& programEnd);

    // fileExisted: whether VENDURA.INI existed when the screen loaded; ipEnganche: the
    // name-resolving server for a server field that holds a name.
    LoginOutcome run(const LoginFields& fields, bool fileExisted, const QString& ipEnganche);
    int failedLogins() const { return failedLogins_; }

  private:
    LoginOutcome versionCheck(const QString& estadovendura);
    LoginOutcome runUpdater();

    ServerLink& link_;
    Launcher& launcher_;
    ProgramEnd& programEnd_;
    int failedLogins_ = 0;
};

}  // namespace vendura
