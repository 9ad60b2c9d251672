#pragma once

#include <QString>
#include <QtGlobal>

#include <random>
#include <string>

namespace vendura::test {

// The seed of a randomised test: the one in the environment variable, to replay a failed run,
// else a new one.
inline unsigned replayableSeed(const char* variable) {
    return qEnvironmentVariableIsSet(variable) ? qEnvironmentVariable(variable).toUInt()
                                               : std::random_device{}();
}

// What a failure prints so that the run can be replayed.
inline std::string replayWith(const char* variable, unsigned seed) {
    return QStringLiteral("replay with %1=%2")
        .arg(QString::fromLatin1(variable))
        .arg(seed)
        .toStdString();
}

}  // namespace vendura::test
