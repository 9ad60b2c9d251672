#pragma once
// Writing what was read into one of the desk's read-only lists.
#include <QStringList>

#include <vector>

class QTableWidget;

namespace vendura::office {

// The list's rows, as many texts each as it has columns (a longer row's last texts left out);
// the columns from `firstFigure` on hold figures, aligned right (-1: none).
void showRows(QTableWidget* table, const std::vector<QStringList>& rows, int firstFigure = -1);

}  // namespace vendura::office
