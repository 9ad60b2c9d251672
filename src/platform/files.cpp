#include "platform/files.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace vendura::files {

bool exists(const QString& path) {
    return QFileInfo(path).isFile();
}

bool remove(const QString& path) {
    return QFile::remove(path);
}

Result<QByteArray> read(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return Error{f.error(), f.errorString()};
    return f.readAll();
}

Result<void> append(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Append)) {
        return Error{f.error(), path + u": "_s + f.errorString()};
    }
    if (f.write(bytes) != bytes.size()) return Error{f.error(), path + u": "_s + f.errorString()};
    return {};
}

Result<void> writeInChunks(const QString& path, const QByteArray& bytes, int chunkSize) {
    QSaveFile f(path);
    if (!f.open(QIODevice::WriteOnly)) return Error{f.error(), path + u": "_s + f.errorString()};
    for (qsizetype at = 0; at < bytes.size(); at += chunkSize) {
        if (f.write(bytes.mid(at, chunkSize)) < 0) {
            return Error{f.error(), path + u": "_s + f.errorString()};
        }
    }
    if (!f.commit()) return Error{f.error(), path + u": "_s + f.errorString()};
    return {};
}

QStringList lines(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return {};
    QStringList out;
    while (!f.atEnd()) {
        QByteArray line = f.readLine();
        while (line.endsWith('\n') || line.endsWith('\r')) line.chop(1);
        out << QString::fromUtf8(line);
    }
    return out;
}

QList<DatedFile> matching(const QString& folder, const QString& pattern) {
    QList<DatedFile> out;
    const QFileInfoList found = QDir(folder).entryInfoList({pattern}, QDir::Files, QDir::Name);
    for (const QFileInfo& info : found) {
        out.append({info.absoluteFilePath(), info.lastModified().date()});
    }
    return out;
}

}  // namespace vendura::files
