#pragma once

#include "platform/database_gateway.h"

#include <memory>

namespace vendura {

class ServerLink;

// The connection of a report screen: its own, opened fresh with the session's server and
// database when the screen opens, and opened fresh again before each report is composed, so a
// report never waits behind the sales screen's connection nor reads through a stale one.
class ReportLink {
  public:
    explicit ReportLink(ServerLink& link) : link_(link) {}

    // Opens the connection; false after "Ocurrieron Errores al Intentar Conectarse!...
    // Finalizando el Sistema" (the caller ends the program).
    bool open();
    // Reads the server's date and time into the session ("Retornafecha").
    Result<void> refreshServerDate();
    // A procedure call on a freshly opened connection when fresh is true. A failure has been
    // shown with the common connection-loss message.
    Result<CallAnswer> call(const ProcedureCall& call, bool fresh = false);
    Result<CallAnswer> exec(const QString& text, bool fresh = false);

    ServerLink& server() { return link_; }

    // Whether the reports from now on read days past only: those go to a standby when there is
    // one, so that a month's report does not slow the sales; today's (what the counter just
    // sold) always reads the primary. A change opens the connection afresh at the next call.
    void readPastDays(bool past) { pastDays_ = past; }

  private:
    Result<void> renew();
    bool needsRenewal(bool fresh) const;
    Result<CallAnswer> answered(Result<CallAnswer> answer);

    ServerLink& link_;
    std::unique_ptr<DatabaseGateway> connection_;
    bool pastDays_ = false;
    bool connectedForPast_ = false;
};

}  // namespace vendura
