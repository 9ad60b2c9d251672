#pragma once

#include "platform/database_gateway.h"

#include <QDate>
#include <QStringList>

namespace vendura {

class ServerLink;

// The ticket journal's audit: the key that opens the viewer, and the working file the viewer
// shows.
namespace journal_audit {

// Wrong keys a seller may type before the access screen closes.
constexpr int kAttempts = 3;

// The five groups typed, as one key ("ABCD-EFGH-..."); the server ignores dashes and case.
QString joinGroups(const QStringList& groups);

enum class KeyAnswer { Valid, Wrong, Locked };
// xvalidaauditoria on the session's connection. A failed call has gone through the common
// handler.
Result<KeyAnswer> checkKey(ServerLink& link, const QString& key);

// The viewer's working file in the journal folder: "templt.drv".
QString workingFile(const QString& journalFolder);

// Deletes the working file, then writes into it the day's journal of the vendor and user,
// descrambled with the user code, one printed line per line. False when there is no journal
// of that day (no working file then).
Result<bool> prepareWorkingFile(const QString& journalFolder, const QDate& day,
                                const QString& vendor, const QString& user);

// What the viewer looks for when the seller types a ticket number: the ten digits a ticket
// prints, or the text as typed when it is not a number.
QString searchText(const QString& typed);

}  // namespace journal_audit
}  // namespace vendura
