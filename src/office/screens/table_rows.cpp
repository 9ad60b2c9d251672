#include "office/screens/table_rows.h"

#include <QTableWidget>

namespace vendura::office {

void showRows(QTableWidget* table, const std::vector<QStringList>& rows, int firstFigure) {
    table->setRowCount(int(rows.size()));
    for (int r = 0; r < int(rows.size()); ++r) {
        const QStringList& texts = rows[size_t(r)];
        for (int c = 0; c < texts.size() && c < table->columnCount(); ++c) {
            auto* item = new QTableWidgetItem(texts[c]);
            if (firstFigure >= 0 && c >= firstFigure) {
                item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            }
            table->setItem(r, c, item);
        }
    }
}

}  // namespace vendura::office
