#include "reports/report_frame.h"

#include "platform/code_page_437.h"
#include "platform/dialogs.h"
#include "platform/printer_port.h"
#include "session/server_link.h"
#include "session/session.h"
#include "tickets/printer_output.h"

namespace vendura::report {

const QString kRule(39, u'=');
const QString kWideRule(40, u'=');
const QString kTitle = u"<< KALVORA ON LINE >>"_s;

namespace {

constexpr int kMaxPeriodDays = 366;
constexpr int kMaxFeedLines = 60;

bool hidden(const QString& line) {
    return line.startsWith(u"    "_s);
}

bool isRule(const QString& line) {
    return line.startsWith(u"===="_s) || line.startsWith(u"----"_s);
}

}  // namespace

QString dateText(const QDate& day) {
    return day.toString(u"dd/MM/yyyy"_s);
}

Money amountOf(const FieldValue& value) {
    if (!value) return {};
    auto parsed = Money::parse(*value);
    return parsed ? parsed.value() : Money();
}

QString amountText(const FieldValue& value) {
    return amountOf(value).display();
}

QStringList header(const Session& s, const QString& title, const QString& day) {
    return {kTitle,
            title,
            u"Vendedor : "_s + s.NombreVendedor + u" "_s + s.CodVendedor,
            u"Usuario : "_s + s.NombreUsuario + u" "_s + s.Usuario,
            u"Fecha : "_s + day,
            u"Hora : "_s + s.HoraServidor,
            kRule};
}

std::optional<QString> periodProblem(const QDate& from, const QDate& to) {
    if (!from.isValid() || !to.isValid()) return u"Las fechas del reporte no son válidas"_s;
    if (to < from) return u"La fecha final no puede ser anterior a la fecha inicial"_s;
    if (from.daysTo(to) > kMaxPeriodDays) return u"El período de un reporte no pasa de un año"_s;
    return std::nullopt;
}

QStringList paperLines(const QStringList& lines, const QString& margin) {
    QStringList out;
    for (const QString& line : lines) {
        if (hidden(line)) continue;
        out << margin + (isRule(line) ? line.left(39) : line);
    }
    return out;
}

QByteArray printBytes(const QStringList& lines, const Session& s, bool portMode) {
    const bool compressed = s.TipoLetra.trimmed() == u"C"_s;
    QByteArray bytes;
    for (const QString& line : lines) {
        if (portMode && compressed) bytes += char(15);
        if (hidden(line)) continue;
        bytes += toPrinterLine(s.Margen + (isRule(line) ? line.left(39) : line)) + "\r\n";
    }
    const int feed = qBound(0, int(s.FilasSalto), kMaxFeedLines);
    for (int i = 0; i < feed; ++i) bytes += "   \r\n";
    if (compressed) bytes += char(18);
    return bytes;
}

bool printReport(Printers& printers, Dialogs& dialogs, const Session& s, const QStringList& lines) {
    const bool portMode = !usesSystemPrinter(s);
    const QString port = s.PuertoPrinter + u":"_s;
    if (portMode && impresoralista(printers, dialogs, port, s.VelocidadFax) != 0) {
        dialogs.message(DialogIcon::Critical, kTituloAtencion, u"Impresora No lista"_s);
        return false;
    }
    auto out = portMode ? printers.openPort(port, s.VelocidadFax) : printers.openSystemPrinter();
    Result<void> done = out ? out.value()->write(printBytes(lines, s, portMode)) : out.error();
    if (out) {
        auto closed = out.value()->close();
        if (done) done = closed;
    }
    if (!done) {
        dialogs.message(DialogIcon::Critical, kTituloAtencion,
                        u"No se pudo imprimir el reporte: "_s + done.error().description);
        return false;
    }
    return true;
}

}  // namespace vendura::report
