#include "console/command.h"

#include <QDate>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTime>

namespace vendura::console {

int CommandContext::fail(const QString& why) const {
    err << "error: " << why << '\n';
    err.flush();
    return kRefused;
}

std::optional<RecordSet> CommandContext::call(const QString& function,
                                              const std::vector<FieldValue>& args) const {
    auto rows = link->call(function, args);
    if (!rows) {
        fail(rows.error().description);
        return std::nullopt;
    }
    return rows.value();
}

std::optional<QString> isoDate(const CommandContext& c, const QString& text) {
    const QDate day = QDate::fromString(text, Qt::ISODate);
    if (!day.isValid() || text.size() != 10) {
        c.fail(u"fecha inválida \"%1\": se escribe AAAA-MM-DD"_s.arg(text));
        return std::nullopt;
    }
    return day.toString(Qt::ISODate);
}

std::optional<QString> decimal(const CommandContext& c, const QString& text, const QString& what) {
    static const QRegularExpression number(u"^[0-9]{1,12}([.,][0-9]{1,4})?$"_s);
    if (!number.match(text).hasMatch()) {
        c.fail(u"%1 inválido \"%2\": un número como 600 o 12.5"_s.arg(what, text));
        return std::nullopt;
    }
    return QString(text).replace(u',', u'.');
}

std::optional<QString> wholeNumber(const CommandContext& c, const QString& text,
                                   const QString& what) {
    static const QRegularExpression number(u"^[0-9]{1,6}$"_s);
    if (!number.match(text).hasMatch()) {
        c.fail(u"%1 inválido \"%2\": un número entero"_s.arg(what, text));
        return std::nullopt;
    }
    return text;
}

std::optional<QString> threeDigits(const CommandContext& c, const QString& text) {
    static const QRegularExpression number(u"^[0-9]{3}$"_s);
    if (!number.match(text).hasMatch()) {
        c.fail(u"número ganador inválido \"%1\": tres dígitos"_s.arg(text));
        return std::nullopt;
    }
    return text;
}

QString randomPassword() {
    static const QString alphabet = u"abcdefghijkmnpqrstuvwxyzABCDEFGHJKLMNPQRSTUVWXYZ23456789"_s;
    QString password;
    for (int i = 0; i < 24; ++i) {
        password += alphabet[int(QRandomGenerator::system()->bounded(qint64(alphabet.size())))];
    }
    return password;
}

Flags takeFlags(const QStringList& args, const QStringList& known) {
    Flags f;
    for (int i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        if (!a.startsWith(u"--"_s)) {
            f.positional << a;
            continue;
        }
        const QString name = a.mid(2);
        if (!known.contains(name)) {
            f.error = u"opción desconocida: "_s + a;
            return f;
        }
        if (i + 1 >= args.size()) {
            f.error = u"falta el valor de "_s + a;
            return f;
        }
        f.values.insert(name, args[++i]);
    }
    return f;
}

}  // namespace vendura::console
