#pragma once

#include <QString>

namespace vendura {

class ProfileFile;

// The database login of the counter program. It is kept encoded (key "CuentaBD" of
// "Comunicaciones", or the installation's built-in value) and decoded only to connect.
struct DatabaseAccount {
    QString user;
    QString password;
};

QString encodeAccount(const DatabaseAccount& account);
DatabaseAccount decodeAccount(const QString& encoded);
DatabaseAccount configuredAccount(const ProfileFile& ini);

}  // namespace vendura
