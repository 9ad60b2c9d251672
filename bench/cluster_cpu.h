#pragma once
// The processor time a PostgreSQL cluster on this machine has used: what a play costs the
// server, beside what a pgbench transaction costs it, whatever else the machine is doing.
#include <QString>

#include <optional>

namespace vendura::bench {

// Microseconds of CPU, user and system, of the cluster listening on `port` in `socketDir`: its
// postmaster, the processes it runs now and those it has already reaped (a backend's time goes
// to the postmaster when it ends). nullopt for a cluster this machine cannot see (another host,
// or no lock file beside the socket).
std::optional<qint64> clusterCpuMicros(const QString& socketDir, int port);

// Microseconds of CPU the cluster's server processes of one database have used so far, those
// still running: the connections of the counters selling on it.
std::optional<qint64> databaseCpuMicros(const QString& socketDir, int port,
                                        const QString& database);

}  // namespace vendura::bench
