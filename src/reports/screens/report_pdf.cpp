#include "reports/screens/report_pdf.h"

#include <QFont>
#include <QFontMetrics>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

namespace vendura {
namespace {

constexpr int kTabWidth = 8;

QString expandTabs(const QString& line) {
    QString out;
    for (QChar c : line) {
        if (c == u'\t') {
            out += QString(kTabWidth - out.size() % kTabWidth, u' ');
        } else {
            out += c;
        }
    }
    return out;
}

}  // namespace

Result<void> writeReportPdf(const QString& path, const QString& title, const QStringList& lines) {
    QPdfWriter writer(path);
    writer.setTitle(title);
    writer.setCreator(u"vendura"_s);
    writer.setPageSize(QPageSize(QPageSize::A4));
    writer.setResolution(300);
    QPainter painter;
    if (!painter.begin(&writer)) return Error{1, u"No se pudo escribir "_s + path};
    QFont font(u"Monospace"_s, 10);
    font.setStyleHint(QFont::TypeWriter);
    painter.setFont(font);
    const QFontMetrics metrics(font, &writer);
    const int margin = writer.resolution() / 2;
    const int bottom = painter.viewport().height() - margin;
    int y = margin;
    for (const QString& line : lines) {
        if (y + metrics.height() > bottom) {
            writer.newPage();
            y = margin;
        }
        y += metrics.height();
        painter.drawText(margin, y, expandTabs(line));
    }
    if (!painter.end()) return Error{2, u"No se pudo terminar "_s + path};
    return {};
}

}  // namespace vendura
