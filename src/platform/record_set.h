#pragma once

#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace vendura {

using FieldValue = std::optional<QString>;  // nullopt is a database null

// Rows of a result set, every value as the server's text. Fields are found by name without
// regard to letter case, as the counter program has always read them, or by position.
class RecordSet {
  public:
    RecordSet() = default;
    explicit RecordSet(QStringList fields) : fields_(std::move(fields)) {}

    void addRow(std::vector<FieldValue> row) { rows_.push_back(std::move(row)); }

    const QStringList& fields() const { return fields_; }
    int fieldIndex(const QString& name) const;
    bool hasField(const QString& name) const { return fieldIndex(name) >= 0; }
    int size() const { return static_cast<int>(rows_.size()); }
    bool empty() const { return rows_.empty(); }

    // Null, a missing field and a missing row all read as nullopt.
    FieldValue value(int row, const QString& field) const;
    FieldValue value(int row, int column) const;
    // The value as text; null and missing read as empty.
    QString text(int row, const QString& field) const {
        return value(row, field).value_or(QString());
    }
    QString text(int row, int column) const { return value(row, column).value_or(QString()); }

  private:
    QStringList fields_;
    std::vector<std::vector<FieldValue>> rows_;
};

}  // namespace vendura
