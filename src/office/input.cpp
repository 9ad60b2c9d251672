#include "office/input.h"

#include <QDate>
#include <QRegularExpression>

namespace vendura::office {
namespace {
Error refused(const QString& why) {
    return Error{1, why};
}
}  // namespace

Result<QString> isoDate(const QString& text) {
    const QDate day = QDate::fromString(text, Qt::ISODate);
    if (!day.isValid() || text.size() != 10) {
        return refused(u"fecha inválida \"%1\": se escribe AAAA-MM-DD"_s.arg(text));
    }
    return day.toString(Qt::ISODate);
}

Result<QString> decimal(const QString& text, const QString& what) {
    static const QRegularExpression number(u"^[0-9]{1,12}([.,][0-9]{1,4})?$"_s);
    if (!number.match(text).hasMatch()) {
        return refused(u"%1 inválido \"%2\": un número como 600 o 12.5"_s.arg(what, text));
    }
    return QString(text).replace(u',', u'.');
}

Result<QString> wholeNumber(const QString& text, const QString& what) {
    static const QRegularExpression number(u"^[0-9]{1,6}$"_s);
    if (!number.match(text).hasMatch()) {
        return refused(u"%1 inválido \"%2\": un número entero"_s.arg(what, text));
    }
    return text;
}

Result<QString> threeDigits(const QString& text) {
    static const QRegularExpression number(u"^[0-9]{3}$"_s);
    if (!number.match(text).hasMatch()) {
        return refused(u"número ganador inválido \"%1\": tres dígitos"_s.arg(text));
    }
    return text;
}

}  // namespace vendura::office
