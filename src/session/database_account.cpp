#include "session/database_account.h"

#include "platform/database_gateway.h"
#include "platform/profile_file.h"

#include <QByteArray>

namespace vendura {
namespace {

// Not a secret against a determined reader, only against a glance at the file: the login can do
// nothing but call the procedures, and they serve no other sales point than its own.
const QByteArray kPad = QByteArrayLiteral("Kalvora-PuntoDeVenta-1756");

QByteArray scramble(QByteArray bytes) {
    for (qsizetype i = 0; i < bytes.size(); ++i) bytes[i] = char(bytes[i] ^ kPad[i % kPad.size()]);
    return bytes;
}

Error accountError(const QString& why, const QString& key = u"CuentaBD"_s) {
    return Error{db_error::kConnectionLost, u"Cuenta de base de datos ("_s + key + u") "_s + why};
}

}  // namespace

QString encodeAccount(const DatabaseAccount& account) {
    const QByteArray plain = (account.user + u'\n' + account.password).toUtf8();
    return QString::fromLatin1(scramble(plain).toBase64());
}

Result<DatabaseAccount> decodeAccount(const QString& encoded) {
    const auto bytes = QByteArray::fromBase64Encoding(encoded.trimmed().toLatin1(),
                                                      QByteArray::AbortOnBase64DecodingErrors);
    if (!bytes) return accountError(u"ilegible"_s);
    const QString plain = QString::fromUtf8(scramble(*bytes));
    const qsizetype cut = plain.indexOf(u'\n');
    if (cut <= 0 || cut + 1 >= plain.size()) return accountError(u"ilegible"_s);
    return DatabaseAccount{plain.left(cut), plain.mid(cut + 1)};
}

Result<DatabaseAccount> configuredAccount(const ProfileFile& ini) {
    const QString configured = ini.read(u"Comunicaciones"_s, u"CuentaBD"_s);
    if (configured.trimmed().isEmpty()) return accountError(u"no configurada"_s);
    return decodeAccount(configured);
}

Result<std::optional<DatabaseAccount>> configuredGateway(const ProfileFile& ini) {
    const QString configured = ini.read(u"Comunicaciones"_s, u"CuentaPasarela"_s);
    if (configured.trimmed().isEmpty()) return std::optional<DatabaseAccount>();
    auto account = decodeAccount(configured);
    if (!account) return accountError(u"ilegible"_s, u"CuentaPasarela"_s);
    return std::optional<DatabaseAccount>(account.value());
}

}  // namespace vendura
