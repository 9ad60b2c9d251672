#pragma once
// A draw's numbers as the office enters them: checked as typed, then entered through the admin
// procedures, which count them once two different people entered the same.
#include "office/admin_link.h"

#include <QString>

#include <optional>
#include <vector>

namespace vendura::office {

struct DrawEntry {
    QString lottery;
    QString day;  // AAAA-MM-DD
    QString triple;
    QString segundo{};  // empty: not drawn
    QString tercero{};
    QString especial{};
};

// The entry's numbers of three digits and its day of the calendar; the first reason otherwise.
Result<void> checkEntry(const DrawEntry& entry);

// What the server did with an entry: left it waiting for a second person (nullopt), or counted
// it, with the plays that won. A refusal carries the server's reason.
Result<std::optional<int>> enterNumbers(AdminLink& link, const DrawEntry& entry, bool correction);

struct PendingEntry {
    QString lottery;
    QString day;
    bool correction = false;
    QString numbers;  // "123 456 - -"
    QString login;
    QString at;  // hh:mm:ss
};
Result<std::vector<PendingEntry>> pendingEntries(AdminLink& link);

// Takes away an entry waiting for its second person; answers the numbers it held.
Result<QString> discardEntry(AdminLink& link, const QString& lottery, const QString& day);

}  // namespace vendura::office
