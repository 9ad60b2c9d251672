#include "cluster_cpu.h"

#include <QDir>
#include <QFile>

#include <unistd.h>

namespace vendura::bench {
namespace {

using namespace Qt::StringLiterals;

struct ProcessTimes {
    qint64 parent = 0;
    qint64 own = 0;       // utime + stime, in clock ticks
    qint64 children = 0;  // cutime + cstime: the children it has reaped
};

// /proc/<pid>/stat; the command name may hold blanks and parentheses, so fields are counted
// from the last ')'.
std::optional<ProcessTimes> readTimes(const QString& pid) {
    QFile f(u"/proc/"_s + pid + u"/stat"_s);
    if (!f.open(QIODevice::ReadOnly)) return std::nullopt;
    const QByteArray line = f.readAll();
    const qsizetype close = line.lastIndexOf(')');
    if (close < 0) return std::nullopt;
    // from field 3 (state) on
    const QList<QByteArray> fields = line.mid(close + 2).split(' ');
    if (fields.size() < 15) return std::nullopt;
    ProcessTimes t;
    t.parent = fields[1].toLongLong();
    t.own = fields[11].toLongLong() + fields[12].toLongLong();
    t.children = fields[13].toLongLong() + fields[14].toLongLong();
    return t;
}

// the lock file beside the socket starts with the postmaster's process number
qint64 postmasterOf(const QString& socketDir, int port) {
    QFile lock(QDir(socketDir).filePath(u".s.PGSQL.%1.lock"_s.arg(port)));
    return lock.open(QIODevice::ReadOnly) ? lock.readLine().trimmed().toLongLong() : 0;
}

// Every process the postmaster runs now, with its times, for those `take` keeps.
template <typename Take>
void forEachServerProcess(qint64 postmaster, Take take) {
    const QStringList pids = QDir(u"/proc"_s).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString& pid : pids) {
        bool number = false;
        pid.toLongLong(&number);
        if (!number) continue;
        const auto t = readTimes(pid);
        if (t && t->parent == postmaster) take(pid, *t);
    }
}

qint64 micros(qint64 ticks) {
    return ticks * 1'000'000 / sysconf(_SC_CLK_TCK);
}

}  // namespace

std::optional<qint64> clusterCpuMicros(const QString& socketDir, int port) {
    const qint64 postmaster = postmasterOf(socketDir, port);
    const auto root = postmaster > 0 ? readTimes(QString::number(postmaster)) : std::nullopt;
    if (!root) return std::nullopt;
    qint64 ticks = root->own + root->children;
    forEachServerProcess(postmaster,
                         [&](const QString&, const ProcessTimes& t) { ticks += t.own; });
    return micros(ticks);
}

std::optional<qint64> databaseCpuMicros(const QString& socketDir, int port,
                                        const QString& database) {
    const qint64 postmaster = postmasterOf(socketDir, port);
    if (postmaster <= 0) return std::nullopt;
    // a backend's title: "postgres: <login> <database> <client> <state>"
    const QByteArray mark = ' ' + database.toUtf8() + ' ';
    qint64 ticks = 0;
    forEachServerProcess(postmaster, [&](const QString& pid, const ProcessTimes& t) {
        QFile title(u"/proc/"_s + pid + u"/cmdline"_s);
        if (title.open(QIODevice::ReadOnly) && title.readAll().contains(mark)) ticks += t.own;
    });
    return micros(ticks);
}

}  // namespace vendura::bench
