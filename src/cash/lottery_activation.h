#pragma once

#include "platform/database_gateway.h"

#include <QString>
#include <QStringList>

#include <vector>

namespace vendura {

// One lottery of the sales point as "Dsplotactiva" answers it.
struct ActivationEntry {
    QString code;         // COD_LOT
    QString description;  // desc_lot
    bool open = false;    // "Cerrada" is not "S"

    // "ZUL ZULIA 12:45 PM": an entry of List1.
    QString text() const { return code + u' ' + description; }
};

std::vector<ActivationEntry> activationEntries(const RecordSet& rows);

// What "activaloterias" receives: the first three characters of every entry in list order,
// selected or not, and one flag per entry, "A" selected, "I" not.
struct ActivationChoice {
    QString codes;
    QString flags;
};
ActivationChoice activationChoice(const QStringList& entries, const std::vector<bool>& selected);

// "Dsplotactiva 'vendor'" and "activaloterias 'vendor', 'codes', 'flags'", with the values
// bound, never spliced into the command.
Result<CallAnswer> Dsplotactiva(DatabaseGateway& db, const QString& vendor);
Result<CallAnswer> activaloterias(DatabaseGateway& db, const QString& vendor,
                                  const ActivationChoice& choice);

}  // namespace vendura
