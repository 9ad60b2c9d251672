#include "reports/account_statement.h"
#include "reports/final_report.h"
#include "reports/prize_report.h"
#include "reports/report_frame.h"
#include "reports/sales_monitor.h"
#include "reports/sales_report.h"
#include "session/session.h"

#include <gtest/gtest.h>

using namespace vendura;

namespace {

const QDate kDay(2026, 12, 7);

Session seller() {
    Session s;
    s.CodVendedor = u"00012"_s;
    s.NombreVendedor = u"AGENCIA LA FORTUNA"_s;
    s.Usuario = u"1001"_s;
    s.NombreUsuario = u"ANA PEREZ"_s;
    s.HoraServidor = u"10:30:00"_s;
    s.TipoLetra = u"C"_s;
    s.FilasSalto = 2;
    return s;
}

RecordSet rows(const QStringList& fields, const std::vector<std::vector<FieldValue>>& values) {
    RecordSet r(fields);
    for (const auto& v : values) r.addRow(v);
    return r;
}

// Lines after the header (and the prize report's column line).
QStringList body(const QStringList& lines, int headerLines = 7) {
    return lines.mid(headerLines);
}

TEST(ReportFrameTest, PaperKeepsTheLineConventionsTheMarginAndTheControlBytes) {
    Session s = seller();
    s.Margen = u"   "_s;
    const QStringList lines{u"<< KALVORA ON LINE >>"_s, QString(45, u'='), u"    oculta"_s,
                            u"----------------------------------------x"_s, u"Total\t1,00"_s};
    const QByteArray port = report::printBytes(lines, s, true);
    const QByteArray expected = "\x0f   << KALVORA ON LINE >>\r\n\x0f   " + QByteArray(39, '=') +
                                "\r\n\x0f\x0f   " + QByteArray(39, '-') +
                                "\r\n\x0f   Total\t1,00\r\n   \r\n   \r\n\x12";
    EXPECT_EQ(port, expected);
    // the system printer gets no byte 15, but the closing 18 in compressed print
    EXPECT_EQ(report::printBytes(lines, s, false), QByteArray(expected).replace('\x0f', ""));
    s.TipoLetra = u"N"_s;
    s.FilasSalto = 0;
    const QByteArray plain = report::printBytes(lines, s, true);
    EXPECT_FALSE(plain.contains('\x0f') || plain.contains('\x12'));
    EXPECT_TRUE(plain.endsWith("Total\t1,00\r\n"));

    EXPECT_EQ(report::header(seller(), u"Titulo "_s, u"07/12/2026"_s),
              (QStringList{u"<< KALVORA ON LINE >>"_s, u"Titulo "_s,
                           u"Vendedor : AGENCIA LA FORTUNA 00012"_s, u"Usuario : ANA PEREZ 1001"_s,
                           u"Fecha : 07/12/2026"_s, u"Hora : 10:30:00"_s, QString(39, u'=')}));
}

TEST(ReportFrameTest, PeriodsOfTheReports) {
    struct Case {
        QDate from, to;
        bool refused;
    };
    for (const Case& c : std::vector<Case>{{kDay, kDay, false},
                                           {kDay.addDays(-366), kDay, false},
                                           {kDay.addDays(-367), kDay, true},
                                           {kDay, kDay.addDays(-1), true},
                                           {kDay.addYears(-10), kDay, true},
                                           {QDate(), kDay, true}}) {
        EXPECT_EQ(report::periodProblem(c.from, c.to).has_value(), c.refused)
            << c.from.toString().toStdString() << " " << c.to.toString().toStdString();
    }
    EXPECT_EQ(report::amountText(std::nullopt), u"0,00"_s);
    EXPECT_EQ(report::amountText(u"-1854.720"_s), u"-1.854,72"_s);
}

TEST(SalesReportTest, TotalAndCancelledTickets) {
    const QStringList fields{u"nroticket"_s, u"horaticket"_s, u"montoticket"_s};
    const QStringList none = sales_report::compose(seller(), kDay, std::nullopt, rows(fields, {}));
    EXPECT_EQ(none[1], u"Reporte Total de Ventas "_s);
    EXPECT_EQ(body(none), (QStringList{u"Total venta: \t0,00"_s, report::kRule}));

    const QStringList three =
        sales_report::compose(seller(), kDay, u"1500.5"_s,
                              rows(fields, {{u"0000000101"_s, u"09:30:00 "_s, u"10"_s},
                                            {u"0000000102"_s, u"09:31:00"_s, u"20.5"_s},
                                            {u"0000000103"_s, u"09:32:00"_s, u"100"_s}}));
    EXPECT_EQ(body(three),
              (QStringList{u"Total venta: \t1.500,50"_s, report::kRule, u" "_s,
                           u"Tickets Anulados"_s, report::kRule, u"Ticket   \tHora\tMonto Bs."_s,
                           report::kRule, u"0000000101\t09:30:00\t10,00"_s,
                           u"0000000102\t09:31:00\t20,50"_s, u"0000000103\t09:32:00\t100,00"_s,
                           report::kRule, u"Total Anulados: \t\t130,50"_s}));
}

TEST(PrizeReportTest, SummaryAndDetailedForms) {
    const RecordSet tickets =
        rows({u"nroticket"_s, u"horaticket"_s, u"usuario"_s, u"montopremio"_s, u"Pagado"_s},
             {{u"0000000101"_s, u"09:30:00"_s, u"1001"_s, u"1260.00"_s, u"S"_s},
              {u"0000000104"_s, u"10:00:00"_s, u"1001"_s, u"600"_s, std::nullopt}});
    const RecordSet plays =
        rows({u"nroticket"_s, u"Tipo_jugada"_s, u"Num_normal"_s, u"LETRAS"_s, u"desc_loteria"_s,
              u"montopremio"_s},
             {{u"0000000101"_s, u"1"_s, u"347"_s, u""_s, u"ZULIA"_s, u"1200"_s},
              {u"0000000104"_s, u"1"_s, u"502"_s, u""_s, u"ZULIA"_s, u"600"_s},
              {u"0000000101"_s, u"2"_s, u"466"_s, u"TRIPLETA SENCILLA"_s, u"ORO"_s, u"60"_s}});
    const QStringList closing{
        QString(40, u'='),        u"Total premios: \t1.860,00"_s, report::kRule,
        u"Pagados: \t1.260,00"_s, u"Por pagar: \t600,00"_s,       report::kRule};

    const QStringList summary =
        prize_report::compose(seller(), kDay, kDay, false, tickets, RecordSet());
    EXPECT_EQ(summary.mid(0, 8),
              (QStringList{u"<< KALVORA ON LINE >>"_s, u"Reporte Tickets Premiados "_s,
                           u"Vendedor : AGENCIA LA FORTUNA 00012"_s, u"Fecha : 07/12/2026"_s,
                           u"Hora : 10:30:00"_s, QString(40, u'='),
                           u"Ticket     Hora     Premio     Usuario P"_s, QString(40, u'=')}));
    EXPECT_EQ(summary.mid(8), QStringList({u"0000000101  09:30:00  1.260,00\t1001  S"_s,
                                           u"0000000104  10:00:00  600,00\t1001  N"_s}) +
                                  closing);

    const QStringList detailed =
        prize_report::compose(seller(), kDay.addDays(-6), kDay, true, tickets, plays);
    EXPECT_EQ(detailed[3], u"Fecha : 01/12/2026\tHasta: 07/12/2026"_s);
    EXPECT_EQ(detailed.mid(8),
              QStringList({u"0000000101  09:30:00   \t1001  S"_s, u"    347 ZULIA\t\t1.200,00"_s,
                           u"466 TRIPLETA SENCILLA ORO\t60,00"_s,
                           u"0000000104  10:00:00   \t1001  N"_s, u"    502 ZULIA\t\t600,00"_s}) +
                  closing);
}

TEST(FinalReportTest, ThreeKindsAndTheirSums) {
    const QStringList amounts{u"total_venta"_s, u"comision"_s, u"premios"_s, u"subtotal"_s};
    const RecordSet byLottery =
        rows(QStringList{u"COD_LOT"_s, u"Tipo_jugada"_s} + amounts,
             {{u"AAA"_s, u"1"_s, u"21.5"_s, u"2.15"_s, u"315"_s, u"-295.65"_s},
              {u"AAA"_s, u"2"_s, u"3"_s, u"0.3"_s, u"0"_s, u"2.7"_s},
              {u"CCC"_s, u"1"_s, u"0"_s, u"0"_s, u"50"_s, u"-50"_s}});
    const QMap<QString, QString> names{{u"AAA"_s, u"ALFA"_s}, {u"CCC"_s, u"GAMMA"_s}};
    const QStringList totals{report::kRule,
                             u"Total venta: \t\t24,50"_s,
                             u"Comisión Bs.: \t\t2,45"_s,
                             u"Premios Bs.: \t\t365,00"_s,
                             u"Saldo Bs.: \t\t-342,95"_s,
                             report::kRule};
    const QStringList lotteries =
        final_report::compose(seller(), final_report::Kind::Loterias, kDay, kDay, byLottery, names);
    EXPECT_EQ(lotteries[1], u"Reporte Relación Final por Loterias"_s);
    // one day: no "Desde" line; a lottery with no sales has no group line but its rows count
    EXPECT_EQ(body(lotteries),
              QStringList({u"Tip.\tVenta\tComi.\tPrem.\tSubtot"_s, u"AAA - ALFA"_s,
                           u"1\t21,50\t2,15\t315,00\t-295,65"_s, u"2\t3,00\t0,30\t0,00\t2,70"_s,
                           u"1\t0,00\t0,00\t50,00\t-50,00"_s}) +
                  totals);
    EXPECT_EQ(final_report::compose(seller(), final_report::Kind::Loterias, kDay.addDays(-2), kDay,
                                    byLottery, names)[7],
              u"Desde : 05/12/2026  Hasta: 07/12/2026"_s);

    const RecordSet days = rows(QStringList{u"fecha"_s} + amounts,
                                {{u"05/12/2026"_s, u"10"_s, u"1"_s, u"0"_s, u"9"_s},
                                 {u"06/12/2026"_s, u"14.5"_s, u"1.45"_s, u"365"_s, u"-351.95"_s},
                                 {u"07/12/2026"_s, u"0"_s, u"0"_s, u"0"_s, u"0"_s}});
    const QStringList detailed = final_report::compose(seller(), final_report::Kind::Detallado,
                                                       kDay.addDays(-2), kDay, days, names);
    EXPECT_EQ(detailed[1], u"Reporte Relación Final"_s);
    EXPECT_EQ(body(detailed).mid(0, 6),
              (QStringList{u"Fecha: \t\t05/12/2026"_s, u"Total venta: \t\t10,00"_s,
                           u"Comisión Bs.: \t\t1,00"_s, u"Premios Bs.: \t\t0,00"_s,
                           u"Saldo Bs.: \t\t9,00"_s, report::kRule}));
    EXPECT_EQ(body(detailed).size(), 3 * 6 + 6);
    EXPECT_EQ(body(detailed).mid(18), totals);
    const QStringList summary = final_report::compose(seller(), final_report::Kind::Resumido,
                                                      kDay.addDays(-2), kDay, days, names);
    EXPECT_EQ(body(summary),
              QStringList({u"Desde : 05/12/2026  Hasta: 07/12/2026"_s, report::kRule}) + totals);
    EXPECT_FALSE(final_report::kindOf(QString()).has_value());
}

TEST(AccountStatementTest, LabelsLineUpAndSignsStay) {
    CallAnswer a;
    a.outputs.insert(u"@xfecha1"_s, u"01/12/2026"_s);
    a.outputs.insert(u"@xdeuda"_s, u"-320.650"_s);
    a.outputs.insert(u"@xtotalgragral"_s, u"154.75"_s);
    const QStringList lines = account_statement::compose(seller(), kDay, a);
    EXPECT_EQ(lines[1], u"Reporte de Caudre con La Operadora "_s);
    EXPECT_EQ(body(lines),
              (QStringList{u"Ult. Fecha      : \t01/12/2026"_s, u"Deuda Bs.       : \t-320,65"_s,
                           u"Cuenta de Fecha : \t0,00"_s, u"Movimientos Bs. : \t0,00"_s,
                           u"Depósitos Bs.   : \t0,00"_s, u"Saldo Jugada    : \t0,00"_s,
                           report::kRule, u"S. Prestamo Bs. : \t0,00"_s,
                           u"S. General  Bs. : \t154,75"_s, report::kRule}));
}

TEST(SalesMonitorTest, EntriesMarksAndColumns) {
    const QStringList fields{u"Numero_normal"_s, u"Monto_Normal"_s, u"Monto_Digito"_s,
                             u"Montoespecial"_s};
    const auto entries =
        sales_monitor::entries(rows(fields, {{u"7"_s, u"0"_s, u"10"_s, std::nullopt},
                                             {u"45"_s, u"5.5"_s, u"0"_s, u"0"_s},
                                             {u"123"_s, std::nullopt, u"0"_s, u"2"_s}}));
    // a one-digit number counts its digit amount, the others the straight one; specials add
    EXPECT_EQ(sales_monitor::lines(entries, 1),
              (QStringList{u"7** -> 10,00"_s, u"45* -> 5,50"_s, u"123 -> 2,00"_s}));
    EXPECT_EQ(sales_monitor::total(entries).display(), u"17,50"_s);

    std::vector<sales_monitor::Entry> ten;
    for (int i = 0; i < 10; ++i) ten.push_back({QString::number(100 + i), Money::whole(i)});
    const QStringList lines = sales_monitor::lines(ten, 3);
    ASSERT_EQ(lines.size(), 4);
    EXPECT_TRUE(lines[0].startsWith(u"100 -> 0,00"_s));
    EXPECT_EQ(lines[0].indexOf(u"101 -> "_s), lines[1].indexOf(u"104 -> "_s));
    EXPECT_EQ(lines[3], u"109 -> 9,00"_s);
    EXPECT_EQ(sales_monitor::lines(ten, 0).size(), 10);
    EXPECT_EQ(sales_monitor::numberBlock(u"45"_s, std::nullopt)[0],
              u"<<<< Consulta sobre el Numero :45 >>>>"_s);
    EXPECT_EQ(sales_monitor::countdownText(7),
              u"Actualizando Los Acumulados en Aproximadamente 7 Segundos"_s);
    for (const QString& bad : {u""_s, u"0"_s, u"-3"_s, u"abc"_s, u"99999"_s}) {
        EXPECT_FALSE(sales_monitor::positiveNumber(bad, 3600)) << bad.toStdString();
    }
    EXPECT_EQ(sales_monitor::positiveNumber(u" 15 "_s, 3600), 15);
}

}  // namespace
