#pragma once
// An action of the central office over one admin function: the values a person types for it,
// checked as typed, the call, and the sentence that says what was done. The console's commands
// and the desk's forms are both made from these, so each rule is written once.
#include "office/admin_link.h"

#include <QStringList>

#include <functional>
#include <vector>

namespace vendura::office {

enum class FieldKind {
    Text,      // as typed, trimmed
    Code,      // a code, upper-cased (lottery, kind of prize, role)
    Day,       // AAAA-MM-DD
    Amount,    // 600 or 12.5
    Whole,     // a whole number
    Password,  // as typed; one drawn at random when left empty
    Secret,    // as typed, never shown back (a seller's password)
};

// A password, drawn or typed: kept as typed, not trimmed, and never repeated in a question.
inline bool isPassword(FieldKind kind) {
    return kind == FieldKind::Password || kind == FieldKind::Secret;
}

struct ActionField {
    QString label;  // the desk's caption: "Punto de venta"
    QString name;   // the console's: "PUNTO" for a value in order, "fecha" for --fecha
    FieldKind kind = FieldKind::Text;
    bool optional = false;  // left empty, the server's default
    bool flag = false;      // given on the console as --name value
    bool rest = false;      // the console's last value takes every word left ("TEXTO...")
};

struct OfficeAction {
    QStringList words;  // the console's command: "punto", "suspender"
    QString title;      // the desk's: "Suspender un punto de venta"
    QString help;
    QString function;
    std::vector<ActionField> fields;
    // The function's arguments from the checked values (empty: not given); by default the
    // values in their order, an empty one as null.
    std::function<std::vector<FieldValue>(const QStringList&)> arguments;
    // What was done, from the checked values and the function's answer.
    std::function<QString(const QStringList&, const RecordSet&)> done;
};

// Checks what was typed for each field, in the fields' order (a missing trailing value is
// empty), then calls the function in one transaction. Answers the sentence of what was done;
// the first refusal otherwise, nothing written.
Result<QString> runAction(AdminLink& link, const OfficeAction& action, QStringList typed);

// The values as the action's checks leave them; the first refusal otherwise.
Result<QStringList> checkFields(const OfficeAction& action, QStringList typed);

// A password drawn at random, for a login whose password someone is given once or a counter
// keeps encoded in its configuration.
QString randomPassword();

// The families of actions, as the console lists them and the desk's screens offer them.
std::vector<OfficeAction> salesPointActions();
std::vector<OfficeAction> moneyActions();
std::vector<OfficeAction> payoutActions();
std::vector<OfficeAction> officeLoginActions();

}  // namespace vendura::office
