#pragma once

#include "platform/database_gateway.h"

#include <QString>
#include <QStringList>

#include <optional>

namespace vendura {

class ServerLink;

// The sender or addressee as the message window shows it: "*****" is the central office.
QString shownSender(const QString& code);
// A message's text cut into lines of at most width characters, the last holding the rest.
QStringList cutLines(const QString& text, int width = 65);
// The lines of the message window for the records "xleemensajes" answered, in their order.
QStringList messageLines(const RecordSet& records);

// "xleemensajes": mode "1" lists the unread messages, mode "2" marks them as read.
ProcedureCall xleemensajes(const QString& vendedor, const QString& modo);

// leemensajesnuevos: the lines of the vendor's unread messages, each marked as read while it
// is listed (empty when there is none); nothing when a call failed (handled the common way).
std::optional<QStringList> leemensajesnuevos(ServerLink& link);

}  // namespace vendura
