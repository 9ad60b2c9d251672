#pragma once
// The network as the office sees it: its sales points with their settings and sellers, and the
// day's sales per lottery and per hour.
#include "office/admin_link.h"
#include "session/money.h"

#include <array>
#include <utility>
#include <vector>

namespace vendura::office {

struct SalesPoint {
    QString vendor;
    QString name;
    QString state;  // A active, S suspended, I inactive
    QString account;
    QString expiryDays;
    QString cancelMinutes;
    QString quotaShare;
    QString commission;  // on every lottery; empty when none is set
    QString sellers;
    QString settledTo;  // the last day settled; empty: never
};
Result<std::vector<SalesPoint>> salesPoints(AdminLink& link);

struct Seller {
    QString code;
    QString name;
    QString state;
};
Result<std::vector<Seller>> sellersOf(AdminLink& link, const QString& vendor);

struct DaySales {
    std::vector<std::pair<QString, Money>> lotteries;  // in the lotteries' order
    std::array<Money, 24> hours{};                     // by hour of issue
    Money total;
};
Result<DaySales> daySales(AdminLink& link, const QString& day);

}  // namespace vendura::office
