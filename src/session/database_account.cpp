#include "session/database_account.h"

#include "platform/profile_file.h"
#include "platform/result.h"

#include <QByteArray>

namespace vendura {
namespace {

// Not a secret against a determined reader, only against a glance at the file: the account
// can do nothing but call the procedures, which check every seller themselves.
const QByteArray kPad = QByteArrayLiteral("Kalvora-PuntoDeVenta-1756");
const char kBuiltIn[] = "PQQCEhoAAHIxBR5+BCUJIAocFUxdRxoEAX5X";

QByteArray scramble(QByteArray bytes) {
    for (qsizetype i = 0; i < bytes.size(); ++i) bytes[i] = char(bytes[i] ^ kPad[i % kPad.size()]);
    return bytes;
}

}  // namespace

QString encodeAccount(const DatabaseAccount& account) {
    const QByteArray plain = (account.user + u'\n' + account.password).toUtf8();
    return QString::fromLatin1(scramble(plain).toBase64());
}

DatabaseAccount decodeAccount(const QString& encoded) {
    const QString plain = QString::fromUtf8(scramble(QByteArray::fromBase64(encoded.toLatin1())));
    const qsizetype cut = plain.indexOf(u'\n');
    if (cut < 0) return {};
    return {plain.left(cut), plain.mid(cut + 1)};
}

DatabaseAccount configuredAccount(const ProfileFile& ini) {
    const QString configured = ini.read(u"Comunicaciones"_s, u"CuentaBD"_s);
    return decodeAccount(configured.isEmpty() ? QString::fromLatin1(kBuiltIn) : configured);
}

}  // namespace vendura
