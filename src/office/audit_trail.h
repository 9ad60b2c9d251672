#pragma once
// The audit trail as the office searches it and takes it away in a CSV file.
#include "office/admin_link.h"

#include <QString>

namespace vendura::office {

struct AuditQuery {
    QString from;  // AAAA-MM-DD
    QString to;
    QString vendor{};  // empty: every sales point
    QString user{};
    QString action{};  // its beginning is enough
};

// The rows (id, momento, cuenta, cod_vendedor, cod_usuario, accion, detalle), oldest first.
// At most kAuditLimit rows, the first ones in time: a search that reaches it is cut, and says so
// (auditCut).
constexpr int kAuditLimit = 10000;
Result<RecordSet> searchAudit(AdminLink& link, const AuditQuery& query);
// What a search found, in words: "N registro(s)", and that more were left out when it was cut.
QString auditFound(const RecordSet& rows);

// The rows as CSV (RFC 4180: a header line, fields in double quotes when they hold a comma, a
// quote or a line break, lines ended by CR LF). A field a spreadsheet would take for a formula
// (starting with =, +, -, @, a tab or a carriage return) starts with an apostrophe: what a
// sales point wrote into the trail never runs on the office's computer.
QString toCsv(const RecordSet& rows);

}  // namespace vendura::office
