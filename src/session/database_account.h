#pragma once

#include "platform/result.h"

#include <QString>

#include <optional>

namespace vendura {

class ProfileFile;

// The database login of this sales point. The central office creates it with the vendor; the
// counter keeps it encoded under "CuentaBD" of "Comunicaciones" and decodes it only to connect.
struct DatabaseAccount {
    QString user;
    QString password;
};

QString encodeAccount(const DatabaseAccount& account);
// An error when the text is not an encoded account.
Result<DatabaseAccount> decodeAccount(const QString& encoded);
// The account of "CuentaBD"; an error when the key is missing or cannot be decoded.
Result<DatabaseAccount> configuredAccount(const ProfileFile& ini);
// A counter that reaches the server through the connection pooler keeps the login every counter
// there shares under "CuentaPasarela", encoded the same way; none when the key is missing (the
// counter logs in as its own account), an error when it cannot be decoded.
Result<std::optional<DatabaseAccount>> configuredGateway(const ProfileFile& ini);

}  // namespace vendura
