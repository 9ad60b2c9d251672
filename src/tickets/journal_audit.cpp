#include "tickets/journal_audit.h"

#include "platform/code_page_437.h"
#include "platform/files.h"
#include "session/server_link.h"
#include "session/session.h"
#include "session/text.h"
#include "tickets/journal.h"

#include <QRegularExpression>

namespace vendura::journal_audit {

QString joinGroups(const QStringList& groups) {
    QStringList parts;
    for (const QString& g : groups) parts << g.trimmed().toUpper();
    return parts.join(u'-');
}

Result<KeyAnswer> checkKey(ServerLink& link, const QString& key) {
    Session& s = link.session();
    if (!link.ensureOpen()) return Error{db_error::kIgnored, QString()};
    ProcedureCall call{u"xvalidaauditoria"_s, {}};
    call.in(u"@xcodigo_vend"_s, s.CodVendedor, 5)
        .in(u"@xcodigo_user"_s, s.Usuario, 5)
        .in(u"@xclave"_s, key, 40);
    auto answer = s.Conexion->call(call);
    if (!answer) {
        handleCallFailure(link, answer.error());
        return answer.error();
    }
    switch (answer.value().returnNumber()) {
        case 0:
            return KeyAnswer::Valid;
        case 3:
            return KeyAnswer::Locked;
        default:
            return KeyAnswer::Wrong;
    }
}

QString workingFile(const QString& journalFolder) {
    return journalFolder + u"/templt.drv"_s;
}

Result<bool> prepareWorkingFile(const QString& journalFolder, const QDate& day,
                                const QString& vendor, const QString& user) {
    const QString working = workingFile(journalFolder);
    if (files::exists(working) && !files::remove(working)) {
        return Error{1, u"No se pudo borrar "_s + working};
    }
    const QString journal = journalPath(journalFolder, day.day(), vendor, user);
    if (!files::exists(journal)) return false;
    auto lines = Journal::readLines(journal, toCodePage437(user));
    if (!lines) return lines.error();
    QByteArray text;
    for (const QByteArray& line : lines.value()) text += line + "\r\n";
    auto written = files::append(working, text);
    if (!written) return written.error();
    return true;
}

QString searchText(const QString& typed) {
    static const QRegularExpression digits(u"^[0-9]{1,10}$"_s);
    const QString t = typed.trimmed();
    return digits.match(t).hasMatch() ? tenDigitTicket(t) : t;
}

}  // namespace vendura::journal_audit
