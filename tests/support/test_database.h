#pragma once

#include <QString>
#include <QStringList>

#include "platform/result.h"

#include <ostream>
#include <vector>

typedef struct pg_conn PGconn;

// Failed expectations print texts as text.
inline void PrintTo(const QString& text, std::ostream* os) {
    *os << '"' << text.toStdString() << '"';
}

namespace vendura::test {

// Every permission code a seller can hold: the sellers the fixtures create hold them all.
extern const QString kAllPermissions;

// The throwaway cluster tools/test started, as its environment variables describe it.
struct Cluster {
    QString host;
    int port = 0;
    QString socket;
    QString templateName;
    QString gatewayPassword;      // of vendura_pasarela, the login counters behind the pooler share
    int poolerPort = 0;           // pgbouncer in front of the cluster (tools/db pooler)
    static const Cluster& get();  // aborts the test program when the variables are missing
};

// A central database of its own for one test, made from the template and dropped afterwards.
class TestDatabase {
  public:
    // a copy of the cluster's template, or of another one (a benchmark's other server version)
    explicit TestDatabase(const QString& templateName = {});
    ~TestDatabase();
    TestDatabase(const TestDatabase&) = delete;
    TestDatabase& operator=(const TestDatabase&) = delete;

    const QString& name() const { return name_; }
    // The connection text of a sales point's own login on this database.
    QString connectionText(const QString& vendor = QStringLiteral("00012")) const;
    // The same login over the cluster's own socket, as a program on the database's machine
    // reaches it.
    QString socketConnectionText(const QString& vendor) const;
    // The same sales point as a counter behind the connection pooler reaches it: logged in as
    // vendura_pasarela, proving the sales point's account (with another password when given);
    // to the cluster itself unless a port (the pooler's) is given.
    QString pooledConnectionText(const QString& vendor = QStringLiteral("00012"),
                                 const QString& password = QString(), int port = 0) const;
    // A sales point's login and password, encoded as the counter keeps them ("CuentaBD").
    QString cuentaBD(const QString& vendor = QStringLiteral("00012")) const;
    // The login role admin.crear_vendedor makes for a vendor ("<database>_<vendor>").
    QString account(const QString& vendor) const;

    // The same database on another server of the same port (a promoted standby): the
    // statements below go there from now on.
    void moveTo(const QString& socket);

    // Statements run as the superuser, for setting up and checking what the procedures did.
    void admin(const QString& sql, const QStringList& params = {}) const;
    QString value(const QString& sql, const QStringList& params = {}) const;
    // A statement that is meant to fail: its SQLSTATE, or "" when it ran.
    QString adminError(const QString& sql) const;
    QString adminError(const QString& sql, const QStringList& params) const;
    std::vector<QStringList> rows(const QString& sql, const QStringList& params = {}) const;
    // Waits, five seconds at most, until at least `sessions` sessions of this database wait on a
    // lock: calls queued behind a lock the test holds. False when they never did.
    bool waitForLockWaiters(int sessions) const;
    // An office statement made by two different office logins of this database one after the
    // other, as a draw's numbers must be entered: the first entry waits, the second makes it
    // count. The SQLSTATE of the first that failed, or "" when both ran; asAdminByTwo fails the
    // test instead.
    QString adminErrorByTwo(const QString& sql, const QStringList& params = {}) const;
    // An office statement as one login (its session_user): its SQLSTATE, or "" when it ran.
    QString adminErrorAs(const QString& login, const QString& sql,
                         const QStringList& params = {}) const;
    void asAdminByTwo(const QString& sql, const QStringList& params = {}) const;
    // One of those two office logins (1 or 2), made on first use; it can log in with the
    // password "oficina-prueba".
    QString officeLogin(int which) const;

    // A digest of every row of every table of schema central but the audit trail and the login
    // attempts, which refused calls are meant to write to, and the sessions of counters behind
    // the pooler, which come and go with their connections.
    QString checksum() const;
    // Rows of the audit trail: "action|vendor|user" in the order they were written.
    QStringList auditActions() const;

    // Fixes the server's clock ("2026-12-07 10:00:00").
    void setClock(const QString& timestamp) const;
    // A vendor "00012" with its login, users 1001 (active, every permission, logged in through
    // the login), 1002 (inactive), 1003 (suspended), all with the password "1234", and its
    // terminal parameters.
    void seedVendor() const;
    // Another vendor ("AGENCIA <vendor>") with its login, made as the central office makes
    // them, and one active user with every permission, logged in: vendor and user code given.
    void addVendor(const QString& vendor, const QString& user) const;
    // A new temporary ticket of a vendor, taken as its terminal takes one at login.
    QString newTicket(const QString& vendor) const;
    // Two lotteries, AAA "ALFA" and BBB "BETA", selling until 23:00 with quotas of 100 for
    // triples and 300 for terminales, and the server's clock on Monday 2026-12-07 10:00.
    void seedLotteries() const;
    // The special play TRI "TRIPLETAS" in variants 1 "SENCILLA", 2 "COMBINADA" and 3 "CON SERIE",
    // offered by AAA and BBB besides their straight plays, and assigned to vendor 00012.
    void seedSpecial() const;
    // A message the central office leaves for a vendor ("*" for every vendor).
    void postMessage(const QString& vendor, const QString& text) const;
    // A lottery that sells every day until the given closing time.
    void addLottery(const QString& code, const QString& description, const QString& closing,
                    const QString& tripleQuota = u"1000"_s,
                    const QString& terminalQuota = u"1000"_s, int order = 0) const;

  private:
    QString name_;
    PGconn* admin_ = nullptr;
};

}  // namespace vendura::test
