// Random days of a small network, replayable by their seed: three sales points sell straight,
// special and generated plays, take plays off, issue, cancel and pay (some payments racing),
// record movements; the central office enters and corrects results, changes payouts and closing
// times, voids draws, confirms or rejects movements, takes deposits and settles. After every step
// the money must add up against the database.
//
// VENDURA_LEDGER_STEPS (default 300) and VENDURA_LEDGER_SEED replay a run; VENDURA_LEDGER_LOG
// names a file that gets every step and its answer.
#include "issued_tickets.h"
#include "platform/pq_gateway.h"

#include <QDateTime>
#include <QFile>

#include <gtest/gtest.h>

#include <latch>
#include <map>
#include <memory>
#include <random>
#include <thread>

using namespace vendura;
using namespace vendura::test;

namespace {

struct Point {
    QString vendor;
    QString user;
    bool special;
    std::unique_ptr<PqGateway> counter;
    std::unique_ptr<PqGateway> second;  // another counter of the point, for racing payments
    QString ticket;
};

class Ledger {
  public:
    explicit Ledger(unsigned seed) : random_(seed) {
        db.seedVendor();
        db.addVendor(u"00013"_s, u"2001"_s);
        db.addVendor(u"00014"_s, u"3001"_s);
        db.seedLotteries();
        db.seedSpecial();
        db.admin(u"SELECT admin.asignar_especial('TRI', '00013')"_s);
        seedPayouts(db);
        for (const auto& [vendor, percent] :
             {std::pair{"00012", "12"}, {"00013", "10"}, {"00014", "7.5"}}) {
            db.admin(u"SELECT admin.fijar_comision($1, $2::numeric)"_s,
                     {QString::fromLatin1(vendor), QString::fromLatin1(percent)});
        }
        now_ = QDateTime(QDate(2026, 12, 7), QTime(8, 0));
        clock();
        for (const auto& [vendor, user, special] : {std::tuple{"00012", "1001", true},
                                                    {"00013", "2001", true},
                                                    {"00014", "3001", false}}) {
            Point p{QString::fromLatin1(vendor),    QString::fromLatin1(user),      special,
                    std::make_unique<PqGateway>(5), std::make_unique<PqGateway>(5), {}};
            EXPECT_TRUE(p.counter->open(db.connectionText(p.vendor)).ok());
            EXPECT_TRUE(p.second->open(db.connectionText(p.vendor)).ok());
            p.ticket = db.newTicket(p.vendor);
            points_.push_back(std::move(p));
        }
        recordClosingTimes();
    }

    // One random step of a seller or of the central office.
    QString step() {
        // every step at a moment of its own, so what happened after a closing is seen as after
        now_ = now_.addMSecs(1);
        clock();
        Point& p = points_[pick(points_.size())];
        switch (pick(20)) {
            case 0:
            case 1:
            case 2:
            case 3:
            case 4:
                return sell(p);
            case 5:
                return p.special ? special(p) : sell(p);
            case 6:
                return series(p);
            case 7:
                return remove(p);
            case 8:
            case 9:
                return issue(p);
            case 10:
                return cancel(p);
            case 11:
            case 12:
                return pay(p);
            case 13:
                return movement(p);
            case 14:
                return review();
            case 15:
            case 19:
                return results();
            case 16:
                return office();
            case 17:
                return settle(p);
            default:
                return advance();  // 18
        }
    }

    // What must hold after every step; answers the first thing that does not.
    QString broken() {
        const std::pair<const char*, const char*> checks[] = {
            {"live items sum to each ticket's total",
             "SELECT t.nroticket FROM central.tickets t WHERE (CASE t.estado WHEN 'ACT' THEN "
             "t.monto - t.reembolsado ELSE t.monto END) <> (SELECT coalesce(sum(i.monto_vendido), "
             "0) "
             "FROM central.items_ticket i WHERE i.nticket = t.nroticket AND i.monto_vendido > 0 "
             "AND CASE t.estado WHEN 'ACT' THEN i.vigente ELSE i.anulado END)"},
            {"an item on a ticket of another vendor, or on none",
             "SELECT i.nticket || ' ' || i.num_item FROM central.items_ticket i LEFT JOIN "
             "central.tickets_temporales t ON t.nticket = i.nticket AND t.cod_vendedor = "
             "i.cod_vendedor WHERE t.nticket IS NULL"},
            {"a ticket both paid and cancelled",
             "SELECT p.nroticket FROM central.pagos p JOIN central.tickets t USING (nroticket) "
             "WHERE t.estado = 'ELI'"},
            {"paid other than the stored prize",
             "SELECT p.nroticket FROM central.pagos p WHERE p.monto <> (SELECT "
             "coalesce(sum(x.premio), 0) FROM central.premios x WHERE x.nroticket = p.nroticket)"},
            {"a play sold on a closed or resulted draw",
             "SELECT i.nticket || ' ' || i.num_item FROM central.items_ticket i "
             "LEFT JOIN central.sorteos s ON s.cod_lot = i.cod_lot AND s.fecha = i.fecha_sorteo "
             "LEFT JOIN central.resultados r ON r.cod_lot = i.cod_lot AND r.fecha = i.fecha_sorteo "
             "WHERE i.monto_vendido > 0 AND (i.creado::date <> i.fecha_sorteo OR i.creado >= "
             "r.registrado OR i.creado >= s.cerrado_en)"},
            {"a number sold past its quota or out of step with its items",
             "SELECT v.cod_lot || v.numero FROM central.ventas_numero v WHERE v.vendido > 300 OR "
             "v.vendido <> (SELECT coalesce(sum(i.monto_vendido), 0) FROM central.items_ticket i "
             "WHERE i.cod_lot = v.cod_lot AND i.fecha_sorteo = v.fecha AND i.numero = v.numero "
             "AND i.vigente)"},
            {"a day's play kept other than its tickets' items and prizes",
             "SELECT d.cod_vendedor || ' ' || d.fecha || ' ' || d.cod_lot FROM central.juego_dia d "
             "FULL JOIN (SELECT cod_vendedor, fecha, cod_lot, tipo, sum(venta) AS venta, "
             "sum(premio) AS premios FROM (SELECT t.cod_vendedor, t.fecha, i.cod_lot, i.tipo, "
             "i.monto_vendido AS venta, 0 AS premio FROM central.tickets t JOIN "
             "central.items_ticket i ON i.nticket = t.nroticket WHERE t.estado = 'ACT' AND "
             "t.anulado = 'N' AND i.vigente AND i.monto_vendido > 0 UNION ALL SELECT "
             "cod_vendedor, fecha, cod_lot, tipo, 0, premio FROM central.premios) u "
             "GROUP BY 1, 2, 3, 4) x USING (cod_vendedor, fecha, cod_lot, tipo) "
             "WHERE coalesce(d.venta, 0) <> coalesce(x.venta, 0) "
             "OR coalesce(d.premios, 0) <> coalesce(x.premios, 0)"},
            {"an hour's sales kept other than its tickets' items",
             "SELECT h.fecha || ' ' || h.hora FROM central.venta_hora h FULL JOIN (SELECT "
             "t.cod_vendedor, t.fecha, extract(hour FROM t.hora) AS hora, sum(i.monto_vendido) "
             "AS venta FROM central.tickets t JOIN central.items_ticket i ON i.nticket = "
             "t.nroticket WHERE t.estado = 'ACT' AND t.anulado = 'N' AND i.vigente AND "
             "i.monto_vendido > 0 GROUP BY 1, 2, 3) x USING (cod_vendedor, fecha, hora) "
             "WHERE coalesce(h.venta, 0) <> coalesce(x.venta, 0)"},
            {"the network's monitor other than the sales points' live items",
             "SELECT coalesce(g.cod_lot, x.cod_lot) || coalesce(g.numero, x.numero) FROM (SELECT "
             "DISTINCT cod_lot, fecha FROM central.ventas_numero) d CROSS JOIN LATERAL "
             "central.acumulados_de('GENERAL', d.cod_lot, NULL, d.fecha) g FULL JOIN (SELECT "
             "cod_lot, to_char(fecha, 'DD/MM/YYYY') AS fecha, numero, sum(monto_normal) AS n, "
             "sum(monto_digito) AS dg, sum(monto_especial) AS e FROM central.acumulados GROUP BY "
             "1, 2, 3) x ON x.cod_lot = g.cod_lot AND x.fecha = g.fecha AND x.numero = g.numero "
             "WHERE coalesce(g.monto_normal, 0) <> coalesce(x.n, 0) OR coalesce(g.monto_digito, "
             "0) <> coalesce(x.dg, 0) OR coalesce(g.monto_especial, 0) <> coalesce(x.e, 0)"},
            {"an expired prize posted back other than as stored",
             "SELECT a.nroticket FROM central.ajustes a WHERE a.concepto = 'CADUCADO' GROUP BY 1 "
             "HAVING sum(a.monto) <> (SELECT sum(x.premio) FROM central.premios x WHERE "
             "x.nroticket = a.nroticket)"},
        };
        for (const auto& [what, sql] : checks) {
            const QString found = db.value(QString::fromLatin1(sql));
            if (!found.isEmpty()) return QString::fromLatin1(what) + u": "_s + found;
        }
        if (QString late = soldAfterClosing(); !late.isEmpty())
            return u"a play sold after its draw's closing time: "_s + late;
        for (Point& p : points_) {
            if (QString r = reportsAgree(p); !r.isEmpty()) return p.vendor + u": "_s + r;
            if (QString r = statementAgrees(p); !r.isEmpty()) return p.vendor + u": "_s + r;
        }
        for (const auto& [key, kept] : settled_) {
            const QString now = statement(pointOf(key.first), key.second).join(u' ');
            if (now != kept)
                return u"settled day "_s + key.first + u" "_s + key.second + u" changed"_s;
        }
        return {};
    }

    TestDatabase db;

  private:
    size_t pick(size_t n) { return std::uniform_int_distribution<size_t>(0, n - 1)(random_); }
    QString today() const { return now_.date().toString(Qt::ISODate); }
    QString ddmmyyyy(const QString& iso) const {
        return QDate::fromString(iso, Qt::ISODate).toString(u"dd/MM/yyyy"_s);
    }
    void clock() { db.setClock(now_.toString(u"yyyy-MM-dd HH:mm:ss.zzz"_s)); }
    Point& pointOf(const QString& vendor) {
        for (Point& p : points_)
            if (p.vendor == vendor) return p;
        return points_.front();
    }
    QString amount() { return QString::number(double(1 + pick(40)) / 4, 'f', 2); }
    QString lotteries() { return QStringList{u"AAA"_s, u"BBB"_s, u"AAABBB"_s}[qsizetype(pick(3))]; }
    QString base(const Point& p) {
        return db.value(
            u"SELECT coalesce(max(num_item), 0) FROM central.items_ticket WHERE "_s
            u"nticket = $1"_s,
            {p.ticket});
    }
    int call(PqGateway& g, const QString& procedure, const QStringList& args) {
        auto a = g.callPositional(procedure, args);
        return a ? a.value().returnNumber() : -1000;
    }
    QString any(const QString& sql, const QStringList& params) {
        const auto r = db.rows(sql + u" ORDER BY 1"_s, params);
        return r.empty() ? QString() : r[pick(r.size())][0];
    }

    QString sell(Point& p) {
        const QString numbers[] = {u"12"_s + QString::number(pick(4)),
                                   u"2"_s + QString::number(pick(4)), QString::number(pick(4)),
                                   u"12"_s};
        const QString number = numbers[pick(4)];
        return u"sell "_s + number + u" "_s +
               QString::number(
                   call(*p.counter, u"xcreanormal"_s,
                        {p.vendor, p.user, number, amount(), base(p), lotteries(), p.ticket}));
    }
    QString special(Point& p) {
        return u"special "_s +
               QString::number(
                   call(*p.counter, u"xcreaespecial"_s,
                        {p.vendor, p.user, u"12"_s + QString::number(pick(4)), amount(), base(p),
                         lotteries(), pick(2) ? u"1"_s : u"12"_s, u"TRI"_s, p.ticket}));
    }
    QString series(Point& p) {
        return u"series "_s + QString::number(call(*p.counter, u"xcreaseries"_s,
                                                   {p.vendor, p.user, QString::number(pick(4)),
                                                    amount(), base(p), lotteries(), p.ticket}));
    }
    QString remove(Point& p) {
        const auto items = db.rows(
            u"SELECT numero, num_item::text, cod_lot FROM central.items_ticket WHERE nticket = $1 "_s
            u"AND vigente ORDER BY num_item"_s,
            {p.ticket});
        if (items.empty()) return u"nothing to remove"_s;
        const QStringList& i = items[pick(items.size())];
        return u"remove "_s + QString::number(call(*p.counter, u"xborrarjugada"_s,
                                                   {p.vendor, p.user, i[0], i[1], i[2], p.ticket}));
    }
    QString issue(Point& p) {
        const QString total = db.value(
            u"SELECT coalesce(sum(monto_vendido), 0) FROM central.items_ticket WHERE nticket = $1 "_s
            u"AND vigente AND monto_vendido > 0"_s,
            {p.ticket});
        ProcedureCall c{u"xgrabtick"_s, {}};
        c.in(u"@xcodigo_vend"_s, p.vendor).in(u"@xcodigo_user"_s, p.user);
        c.in(u"@xseriald"_s, QString::number(1 + pick(999999)));
        c.out(u"@xfecha_ticket"_s).out(u"@xhora_ticket"_s).in(u"@xestado_ticket"_s, u"ACT"_s);
        c.decimal(u"@xmonto_ticket"_s, total).in(u"@xanulado"_s, u"N"_s);
        c.in(u"@xnroticktmp"_s, p.ticket).out(u"@xnroticket"_s, p.ticket);
        auto a = p.counter->call(c);
        if (!a) return u"issue failed"_s;
        const int code = a.value().returnNumber();
        if (code == 0 || code == 88) p.ticket = a.value().output(u"@xnroticket"_s).trimmed();
        // the seller leaves a ticket its draws closed on: the next number gives its quota back
        if (code == 6) p.ticket = db.newTicket(p.vendor);
        return u"issue "_s + total + u" "_s + QString::number(code);
    }
    QString cancel(Point& p) {
        const QString t =
            any(u"SELECT nroticket FROM central.tickets WHERE cod_vendedor = $1"_s, {p.vendor});
        if (t.isEmpty()) return u"nothing to cancel"_s;
        return u"cancel "_s +
               QString::number(call(*p.counter, u"ANULATICKET"_s, {t, p.vendor, p.user, u"1"_s}));
    }
    QString pay(Point& p) {
        // mostly a winner not paid yet, now and then one paid already
        const QString t =
            any(u"SELECT nroticket || ' ' || serial FROM central.tickets WHERE "_s
                u"cod_vendedor = $1 AND nroticket IN (SELECT nroticket FROM "_s
                u"central.premios) AND (nroticket NOT IN (SELECT nroticket FROM "_s
                u"central.pagos) OR $2)"_s,
                {p.vendor, pick(4) ? u"false"_s : u"true"_s});
        if (t.isEmpty()) return u"nothing to pay"_s;
        const QStringList ticket = t.split(u' ');
        const QStringList args{ticket[1], p.vendor, p.user, u"1"_s, ticket[0], {}};
        if (pick(3)) return u"pay "_s + QString::number(call(*p.counter, u"PAGATICKETnew"_s, args));
        int codes[2];
        std::latch start(2);
        std::thread other([&] {
            start.arrive_and_wait();
            codes[1] = call(*p.second, u"PAGATICKETnew"_s, args);
        });
        start.arrive_and_wait();
        codes[0] = call(*p.counter, u"PAGATICKETnew"_s, args);
        other.join();
        return u"race to pay "_s + QString::number(codes[0]) + u"/"_s + QString::number(codes[1]);
    }
    QString movement(Point& p) {
        static const QString kinds[] = {
            u"0.- Pago Vendedor a Banca"_s, u"1.- Pago Banca a Vendedor"_s, u"2.- Prestamo"_s,
            u"3.- Pago Couta Prestamo"_s, u"4.- Couta diaria Presamo"_s};
        const QString doc = u"M"_s + QString::number(++documents_);
        return u"movement "_s +
               QString::number(
                   call(*p.counter, u"ACTGastos"_s,
                        {u"0"_s, doc, kinds[pick(5)], amount(), {}, p.vendor, {}, u"1"_s}));
    }
    QString adminStep(const QString& what, const QString& sql, const QStringList& params) {
        return what + u" "_s + db.adminError(sql, params);
    }
    // a draw's numbers count once two office logins entered them
    QString resultsStep(const QString& what, const QString& sql, const QStringList& params) {
        return what + u" "_s + db.adminErrorByTwo(sql, params);
    }
    QString review() {
        const QString m =
            any(u"SELECT cod_vendedor || ' ' || nrogasto FROM central.gastos WHERE "_s
                u"estado = 'P'"_s,
                {});
        if (m.isEmpty())
            return adminStep(u"deposit"_s, u"SELECT admin.registrar_deposito($1, $2::numeric)"_s,
                             {points_[pick(3)].vendor, amount()});
        const QStringList vm = m.split(u' ');
        return pick(4) ? adminStep(u"confirm"_s, u"SELECT admin.confirmar_movimiento($1, $2)"_s, vm)
                       : adminStep(u"reject"_s,
                                   u"SELECT admin.rechazar_movimiento($1, $2, 'no llegó')"_s, vm);
    }
    // Results of a closed draw without them; or a correction of one that has them.
    QString results() {
        // mostly a draw that waits for its results
        const QString draw =
            any(u"SELECT DISTINCT i.cod_lot || ' ' || i.fecha_sorteo FROM central.items_ticket i "_s
                u"WHERE central.estado_sorteo(i.cod_lot, i.fecha_sorteo, central.ahora()) IN "_s
                u"('C', $1)"_s,
                {pick(4) ? u"C"_s : u"R"_s});
        if (draw.isEmpty()) return u"no draw to enter"_s;
        const QStringList d = draw.split(u' ');
        const QString first = u"12"_s + QString::number(pick(4));
        const QString special = pick(2) ? u"12"_s + QString::number(pick(4)) : QString();
        const bool has = !db.value(
                                u"SELECT 1 FROM central.resultados WHERE cod_lot = $1 AND "_s
                                u"fecha = $2::date"_s,
                                d)
                              .isEmpty();
        return resultsStep(
            has ? u"correct"_s : u"results"_s,
            has ? u"SELECT admin.corregir_resultado($1, $2::date, $3, NULL, NULL, "_s
                  u"nullif($4, ''))"_s
                : u"SELECT admin.registrar_resultado($1, $2::date, $3, NULL, NULL, "_s
                  u"nullif($4, ''))"_s,
            {d[0], d[1], first, special});
    }
    // What else the central office does, the attempts to bring a draw back included.
    QString office() {
        const QString lot = pick(2) ? u"AAA"_s : u"BBB"_s;
        switch (pick(6)) {
            case 0:
                return adminStep(u"payout"_s,
                                 u"SELECT admin.fijar_pago($1, 'TRIPLE', $2::numeric)"_s,
                                 {lot, QString::number(500 + 100 * pick(4))});
            case 1:
                return adminStep(u"special payout"_s,
                                 u"SELECT admin.fijar_pago($1, 'ESPECIAL', $2::numeric, '2')"_s,
                                 {lot, QString::number(100 + 50 * pick(4))});
            case 2:
                return adminStep(u"closing time"_s, u"SELECT admin.fijar_cierre($1, '23:59')"_s,
                                 {lot});
            case 3:
                return adminStep(u"open a draw"_s,
                                 u"SELECT admin.cerrar_sorteo($1, $2::date, false)"_s,
                                 {lot, now_.addDays(-int(pick(2))).date().toString(Qt::ISODate)});
            case 4:
                return adminStep(u"close a draw"_s,
                                 u"SELECT admin.cerrar_sorteo($1, $2::date, true)"_s,
                                 {lot, today()});
            default: {
                const QString draw =
                    any(u"SELECT DISTINCT i.cod_lot || ' ' || i.fecha_sorteo FROM "_s
                        u"central.items_ticket i WHERE central.estado_sorteo(i.cod_lot, "_s
                        u"i.fecha_sorteo, central.ahora()) = 'C'"_s,
                        {});
                if (draw.isEmpty() || pick(3)) return u"no void"_s;
                return adminStep(u"void"_s, u"SELECT admin.anular_sorteo($1, $2::date)"_s,
                                 draw.split(u' '));
            }
        }
    }
    // Settles a point up to a day that is over; the statement of that day is kept to compare.
    QString settle(Point& p) {
        const QString day = now_.date().addDays(-1 - int(pick(3))).toString(Qt::ISODate);
        const QString r = adminStep(u"settle "_s + day, u"SELECT admin.liquidar($1, $2::date)"_s,
                                    {p.vendor, day});
        if (r.endsWith(u' ')) settled_[{p.vendor, day}] = statement(p, day).join(u' ');
        return r;
    }
    QString advance() {
        const QDate before = now_.date();
        now_ = now_.addSecs(qint64(60 * (10 + pick(230))));
        if (now_.date() != before) {
            now_.setTime(QTime(8, 0));
            recordClosingTimes();
        }
        clock();
        return u"clock "_s + now_.toString(Qt::ISODate);
    }

    // A day's draws close at the time their lottery has when the day starts, unless the draw
    // has its own.
    void recordClosingTimes() {
        for (const QStringList& l :
             db.rows(u"SELECT cod_lot, to_char(hora_cierre, 'HH24:MI:SS') FROM central.loterias"_s))
            closing_[{l[0], today()}] = l[1];
    }
    QString soldAfterClosing() {
        for (const QStringList& d :
             db.rows(u"SELECT i.cod_lot, i.fecha_sorteo::text, max(i.creado::time)::text, "_s
                     u"coalesce(s.hora_cierre::text, '') FROM central.items_ticket i LEFT JOIN "_s
                     u"central.sorteos s ON s.cod_lot = i.cod_lot AND s.fecha = i.fecha_sorteo "_s
                     u"WHERE i.monto_vendido > 0 GROUP BY 1, 2, 4"_s)) {
            const QString closing = d[3].isEmpty() ? closing_[{d[0], d[1]}] : d[3];
            if (d[2] >= closing) return d[0] + u" "_s + d[1] + u" at "_s + d[2];
        }
        return {};
    }

    // The day's statement as DSPLUP23 answers it to the counter.
    QStringList statement(Point& p, const QString& day) {
        ProcedureCall c{u"DSPLUP23"_s, {}};
        c.in(u"@xfecmov"_s, ddmmyyyy(day)).in(u"@xcodven"_s, p.vendor).out(u"@xfecha1"_s);
        const QStringList names{u"@xdeuda"_s,       u"@xcuenta"_s, u"@xmovimiento"_s,
                                u"@xdeposito"_s,    u"@xtotal"_s,  u"@xsaldoprestamo"_s,
                                u"@xtotalgragral"_s};
        for (const QString& n : names) c.out(n, u"0"_s);
        auto a = p.counter->call(c);
        if (!a) return {u"failed"_s};
        QStringList out{a.value().output(u"@xfecha1"_s)};
        for (const QString& n : names)
            out << QString::number(a.value().output(n).toDouble(), 'f', 2);
        return out;
    }

    // The prize report and the final relation of the whole run against the stored prizes.
    QString reportsAgree(Point& p) {
        const QString from = u"07/12/2026"_s, to = now_.date().toString(u"dd/MM/yyyy"_s);
        const QString stored = db.value(
            u"SELECT coalesce(sum(premio), 0)::numeric(14,2) FROM central.premios WHERE "_s
            u"cod_vendedor = $1"_s,
            {p.vendor});
        auto sum = [&](const QString& procedure, const QString& mode, const QString& field) {
            auto a = p.counter->callPositional(procedure, {mode, p.vendor, from, to});
            double total = 0;
            if (a)
                for (int r = 0; r < a.value().rows.size(); ++r)
                    total += a.value().rows.text(r, field).toDouble();
            return QString::number(total, 'f', 2);
        };
        for (const auto& [procedure, mode, field] :
             {std::tuple{u"RPTTICKPREMIADOS"_s, u"0"_s, u"montopremio"_s},
              {u"RPTTICKPREMIADOSdetalle"_s, u"0"_s, u"montopremio"_s},
              {u"RPTRFINAL"_s, u"1"_s, u"premios"_s},
              {u"RPTRFINAL"_s, u"5"_s, u"premios"_s}}) {
            const QString reported = sum(procedure, mode, field);
            if (reported != stored)
                return procedure + u" "_s + mode + u" says "_s + reported + u", stored "_s + stored;
        }
        return {};
    }

    // The statement of today against the ledger summed here: the last settlement, then each
    // day's sales less commission (per day, lottery and kind, to the cent) less stored prizes,
    // the adjustments, the confirmed movements where they count, less the deposits.
    QString statementAgrees(Point& p) {
        const QString expected = db.value(
            u"WITH l AS (SELECT coalesce(max(fecha), '-infinity') AS f FROM central.liquidaciones "_s
            u"WHERE cod_vendedor = $1), "_s
            u"s AS (SELECT t.fecha, i.cod_lot, i.tipo, sum(i.monto_vendido) AS v FROM "_s
            u"central.tickets t JOIN central.items_ticket i ON i.nticket = t.nroticket WHERE "_s
            u"t.cod_vendedor = $1 AND t.estado = 'ACT' AND i.vigente AND i.monto_vendido > 0 "_s
            u"AND t.fecha > (SELECT f FROM l) GROUP BY 1, 2, 3) "_s
            u"SELECT (coalesce((SELECT saldo_jugada FROM central.liquidaciones WHERE "_s
            u"cod_vendedor = $1 AND fecha = (SELECT f FROM l)), 0) "_s
            u"+ coalesce((SELECT sum(v - round(v * c.porcentaje / 100, 2)) FROM s, "_s
            u"central.comisiones c WHERE c.cod_vendedor = $1), 0) "_s
            u"- coalesce((SELECT sum(premio) FROM central.premios WHERE cod_vendedor = $1 AND "_s
            u"fecha > (SELECT f FROM l)), 0) "_s
            u"+ coalesce((SELECT sum(monto) FROM central.ajustes WHERE cod_vendedor = $1 AND "_s
            u"fecha > (SELECT f FROM l)), 0) "_s
            u"+ coalesce((SELECT sum(CASE tipo WHEN '0' THEN -monto WHEN '1' THEN monto WHEN '4' "_s
            u"THEN monto ELSE 0 END) FROM central.gastos WHERE cod_vendedor = $1 AND estado = 'C' "_s
            u"AND fecha_efecto > (SELECT f FROM l)), 0) "_s
            u"- coalesce((SELECT sum(monto) FROM central.depositos WHERE cod_vendedor = $1 AND "_s
            u"fecha > (SELECT f FROM l)), 0))::numeric(16,2)"_s,
            {p.vendor});
        const QStringList shown = statement(p, today());
        if (shown.size() < 6 || shown[5] != expected)
            return u"statement says "_s + shown.value(5) + u", the ledger "_s + expected;
        return {};
    }

    std::mt19937 random_;
    QDateTime now_;
    std::vector<Point> points_;
    std::map<std::pair<QString, QString>, QString> closing_;  // lottery and day
    std::map<std::pair<QString, QString>, QString> settled_;
    int documents_ = 0;
};

int setting(const char* name, int fallback) {
    bool ok = false;
    const int v = qEnvironmentVariableIntValue(name, &ok);
    return ok ? v : fallback;
}

TEST(LedgerTest, RandomDaysOfTheNetworkKeepEveryFigureEqualToTheLedger) {
    const unsigned seed = unsigned(setting("VENDURA_LEDGER_SEED", 20261207));
    const int steps = setting("VENDURA_LEDGER_STEPS", 300);
    Ledger ledger(seed);
    QStringList done;
    for (int i = 0; i < steps; ++i) {
        done << ledger.step();
        const QString problem = ledger.broken();
        ASSERT_TRUE(problem.isEmpty())
            << "step " << i << ": " << problem.toStdString()
            << "\nreplay with VENDURA_LEDGER_SEED=" << seed
            << "\nlast steps: " << done.mid(qMax(0, done.size() - 8)).join(u" | "_s).toStdString();
    }
    if (const QString log = qEnvironmentVariable("VENDURA_LEDGER_LOG"); !log.isEmpty()) {
        QFile f(log);
        if (f.open(QIODevice::WriteOnly)) f.write(done.join(u'\n').toUtf8());
    }
    // the run reached what it is meant to test
    const QString reached = ledger.db.value(
        u"SELECT (SELECT count(*) FROM central.premios) > 0 AND (SELECT count(*) FROM "_s
        u"central.pagos) > 0 AND (SELECT count(*) FROM central.liquidaciones) > 0"_s);
    std::map<QString, int> outcomes;
    for (const QString& d : done) ++outcomes[d.section(u' ', 0, 0) + u' ' + d.section(u' ', -1)];
    QString summary;
    for (const auto& [what, n] : outcomes) summary += what + u" x"_s + QString::number(n) + u"; "_s;
    EXPECT_EQ(reached, u"t"_s) << "seed " << seed << ": " << summary.toStdString();
}

}  // namespace
