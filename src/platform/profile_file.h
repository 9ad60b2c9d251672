#pragma once

#include <QString>

namespace vendura {

// A private-profile (INI) file read and written the way Windows' profile calls do it:
// section and key names match without regard to case or surrounding blanks, a read returns at
// most the 254 characters that a 255-character buffer holds, and a missing file, section or
// key reads as empty. A write creates the file and the section when they are missing and
// replaces the key's value in place otherwise. Write failures are ignored.
class ProfileFile {
  public:
    explicit ProfileFile(QString path) : path_(std::move(path)) {}

    const QString& path() const { return path_; }
    bool exists() const;
    QString read(const QString& section, const QString& key, int bufferSize = 255) const;
    void write(const QString& section, const QString& key, const QString& value) const;

  private:
    QString path_;
};

}  // namespace vendura
