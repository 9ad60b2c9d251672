#include "platform/record_set.h"

namespace vendura {

int RecordSet::fieldIndex(const QString& name) const {
    for (int i = 0; i < fields_.size(); ++i) {
        if (fields_[i].compare(name, Qt::CaseInsensitive) == 0) return i;
    }
    return -1;
}

FieldValue RecordSet::value(int row, const QString& field) const {
    return value(row, fieldIndex(field));
}

FieldValue RecordSet::value(int row, int column) const {
    if (row < 0 || row >= size() || column < 0) return std::nullopt;
    const auto& r = rows_[static_cast<size_t>(row)];
    if (column >= static_cast<int>(r.size())) return std::nullopt;
    return r[static_cast<size_t>(column)];
}

}  // namespace vendura
