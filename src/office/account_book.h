#pragma once
// What the office reads of the sales points' money: the statement of an account on a day,
// the movements waiting for the office, and the payouts in force with the moment each began.
#include "office/admin_link.h"
#include "session/money.h"

#include <utility>
#include <vector>

namespace vendura::office {

// The statement's lines in the order the office reads them: caption and value ("-" none).
using StatementLines = std::vector<std::pair<QString, QString>>;
Result<StatementLines> readStatement(AdminLink& link, const QString& vendor,
                                     const QString& day = QString());
// A statement's value as the office reads it: an amount as "1.234,50", a day as it comes.
QString shownValue(const QString& value);

// Every sales point's statement on a day, its lines as readStatement gives them, for settling it.
struct PointStatement {
    QString vendor;
    QString name;
    QString settledTo;  // the last day settled; empty: never
    StatementLines lines;
};
Result<std::vector<PointStatement>> statementsOfDay(AdminLink& link, const QString& day);

struct Deposit {
    QString number;  // what "deposito eliminar" takes
    QString vendor;
    QString day;
    QString amount;
    QString reference;
    bool settled = false;  // its day is settled: it stays
};
// The deposits of a sales point (every one's when empty) on the days from `from` to `to`.
Result<std::vector<Deposit>> deposits(AdminLink& link, const QString& vendor, const QString& from,
                                      const QString& to);

struct PendingMovement {
    QString vendor;
    QString document;
    QString day;
    QString amount;
    QString description;
    QString note;
};
Result<std::vector<PendingMovement>> pendingMovements(AdminLink& link,
                                                      const QString& vendor = QString());

struct Payout {
    QString lottery;
    QString kind;
    QString variant;
    QString multiplier;
    QString since;    // AAAA-MM-DD hh:mm:ss; empty: from the start
    QString until{};  // when the next one replaced it; empty: in force now
};
// The payouts in force now.
Result<std::vector<Payout>> payoutTable(AdminLink& link, const QString& lottery = QString());
// Every payout there was, each with its dates, in force now last.
Result<std::vector<Payout>> payoutHistory(AdminLink& link, const QString& lottery = QString());

}  // namespace vendura::office
