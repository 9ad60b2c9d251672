#include "platform/profile_file.h"

#include "platform/result.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringDecoder>
#include <QStringList>

namespace vendura {
namespace {

// Files written by earlier installations may be in the Windows code page: text that is not
// valid UTF-8 is read as Latin-1 rather than refused.
QStringList readLines(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return {};
    const QByteArray bytes = f.readAll();
    QStringDecoder utf8(QStringDecoder::Utf8);
    QString text = utf8(bytes);
    if (utf8.hasError()) text = QString::fromLatin1(bytes);
    text.replace(u"\r\n"_s, u"\n"_s);
    text.replace(u'\r', u'\n');
    QStringList lines = text.split(u'\n');
    if (!lines.isEmpty() && lines.last().isEmpty()) lines.removeLast();
    return lines;
}

bool isSection(const QString& line, QString* name) {
    const QString t = line.trimmed();
    if (!t.startsWith(u'[')) return false;
    const qsizetype close = t.indexOf(u']');
    if (close < 0) return false;
    *name = t.mid(1, close - 1).trimmed();
    return true;
}

bool isKey(const QString& line, const QString& key, QString* value) {
    const qsizetype eq = line.indexOf(u'=');
    if (eq < 0 || line.trimmed().startsWith(u';')) return false;
    if (line.left(eq).trimmed().compare(key.trimmed(), Qt::CaseInsensitive) != 0) return false;
    if (value) *value = line.mid(eq + 1);
    return true;
}

QString cleanValue(QString v) {
    v = v.trimmed();
    if (v.size() >= 2 && (v.front() == u'"' || v.front() == u'\'') && v.back() == v.front()) {
        v = v.mid(1, v.size() - 2);
    }
    return v;
}

// A value or name written to the file must stay on its line.
QString oneLine(QString s) {
    s.replace(u'\r', u' ');
    s.replace(u'\n', u' ');
    return s;
}

}  // namespace

bool ProfileFile::exists() const {
    return QFileInfo(path_).isFile();
}

QString ProfileFile::read(const QString& section, const QString& key, int bufferSize) const {
    const QStringList lines = readLines(path_);
    bool inSection = false;
    bool seenSection = false;
    for (const QString& line : lines) {
        QString name;
        if (isSection(line, &name)) {
            if (seenSection && inSection) break;  // only the first section of that name counts
            inSection = name.compare(section.trimmed(), Qt::CaseInsensitive) == 0;
            seenSection = seenSection || inSection;
            continue;
        }
        QString value;
        if (inSection && isKey(line, key, &value)) {
            return cleanValue(value).left(qMax(0, bufferSize - 1));
        }
    }
    return {};
}

void ProfileFile::write(const QString& section, const QString& key, const QString& value) const {
    QStringList lines = readLines(path_);
    const QString entry = oneLine(key.trimmed()) + u'=' + oneLine(value);
    qsizetype sectionStart = -1;
    qsizetype lastInSection = -1;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        QString name;
        if (isSection(lines[i], &name)) {
            if (sectionStart >= 0) break;
            if (name.compare(section.trimmed(), Qt::CaseInsensitive) == 0) {
                sectionStart = i;
                lastInSection = i;
            }
            continue;
        }
        if (sectionStart < 0) continue;
        if (isKey(lines[i], key, nullptr)) {
            lines[i] = entry;
            lastInSection = -2;
            break;
        }
        if (!lines[i].trimmed().isEmpty()) lastInSection = i;
    }
    if (sectionStart < 0) {
        lines << u'[' + oneLine(section.trimmed()) + u']' << entry;
    } else if (lastInSection >= 0) {
        lines.insert(lastInSection + 1, entry);
    }
    QSaveFile f(path_);
    if (!f.open(QIODevice::WriteOnly)) return;
    f.write((lines.join(u"\r\n"_s) + u"\r\n"_s).toUtf8());
    f.commit();
}

}  // namespace vendura
