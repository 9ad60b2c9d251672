#pragma once

#include "platform/result.h"

#include <QStringList>

namespace vendura {

// A report's printed lines as a PDF document (A4, fixed-width type, tabs to every eighth
// column), titled for the PDF reader.
Result<void> writeReportPdf(const QString& path, const QString& title, const QStringList& lines);

}  // namespace vendura
