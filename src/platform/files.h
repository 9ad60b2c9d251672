#pragma once

#include "platform/result.h"

#include <QByteArray>
#include <QDate>
#include <QString>
#include <QStringList>

namespace vendura::files {

bool exists(const QString& path);
bool remove(const QString& path);
Result<QByteArray> read(const QString& path);
// Appends to a file, creating it when missing.
Result<void> append(const QString& path, const QByteArray& bytes);
// Replaces a file's content, writing it in pieces of chunkSize bytes.
Result<void> writeInChunks(const QString& path, const QByteArray& bytes, int chunkSize);
// The lines of a text file, without their line ends; empty when it cannot be read.
QStringList lines(const QString& path);
// Files of a folder whose names match a wildcard pattern such as "kv*.drv" (letter case
// ignored), with the local date they were last written.
struct DatedFile {
    QString path;
    QDate modified;
};
QList<DatedFile> matching(const QString& folder, const QString& pattern);

}  // namespace vendura::files
