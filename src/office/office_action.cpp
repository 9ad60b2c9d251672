#include "office/office_action.h"

#include "office/input.h"

#include <QRandomGenerator>

namespace vendura::office {

Result<QStringList> checkFields(const OfficeAction& action, QStringList typed) {
    while (typed.size() < int(action.fields.size())) typed << QString();
    QStringList checked;
    for (size_t i = 0; i < action.fields.size(); ++i) {
        const ActionField& f = action.fields[i];
        const QString text = isPassword(f.kind) ? typed[int(i)] : typed[int(i)].trimmed();
        if (text.isEmpty()) {
            if (f.kind == FieldKind::Password) {
                checked << randomPassword();
                continue;
            }
            if (!f.optional) return Error{1, u"falta "_s + f.label.toLower()};
            checked << QString();
            continue;
        }
        Result<QString> value = text;
        switch (f.kind) {
            case FieldKind::Code:
                value = text.toUpper();
                break;
            case FieldKind::Day:
                value = isoDate(text);
                break;
            case FieldKind::Amount:
                value = decimal(text, f.label.toLower());
                break;
            case FieldKind::Whole:
                value = wholeNumber(text, f.label.toLower());
                break;
            case FieldKind::Text:
            case FieldKind::Password:
            case FieldKind::Secret:
                break;
        }
        if (!value) return value.error();
        checked << value.value();
    }
    return checked;
}

Result<QString> runAction(AdminLink& link, const OfficeAction& action, QStringList typed) {
    auto checked = checkFields(action, std::move(typed));
    if (!checked) return checked.error();
    const QStringList& values = checked.value();
    std::vector<FieldValue> args;
    if (action.arguments) {
        args = action.arguments(values);
    } else {
        for (const QString& v : values) args.push_back(orNull(v));
    }
    auto rows = link.call(action.function, args);
    if (!rows) return rows.error();
    return action.done(values, rows.value());
}

QString randomPassword() {
    static const QString alphabet = u"abcdefghijkmnpqrstuvwxyzABCDEFGHJKLMNPQRSTUVWXYZ23456789"_s;
    QString password;
    for (int i = 0; i < 24; ++i) {
        password += alphabet[int(QRandomGenerator::system()->bounded(qint64(alphabet.size())))];
    }
    return password;
}

}  // namespace vendura::office
