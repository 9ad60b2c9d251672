#include "platform/screens/system_printer.h"

#include "platform/code_page_437.h"

#include <QFont>
#include <QFontMetrics>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>

namespace vendura {
namespace {

class SystemPrinterOutput final : public PrinterOutput {
  public:
    Result<void> write(const QByteArray& bytes) override {
        pending_ += bytes;
        return {};
    }

    Result<void> close() override {
        if (QPrinterInfo::defaultPrinterName().isEmpty()) {
            return Error{1, u"No hay una impresora predeterminada en el sistema"_s};
        }
        QPrinter printer(QPrinter::HighResolution);
        printer.setDocName(u"vendura"_s);
        QPainter painter;
        if (!painter.begin(&printer)) return Error{2, u"No se pudo iniciar la impresión"_s};
        QFont normal(u"Monospace"_s, 10);
        normal.setStyleHint(QFont::TypeWriter);
        QFont condensed = normal;
        condensed.setPointSize(7);
        bool isCondensed = false;
        int y = 0;
        const QList<QByteArray> lines = pending_.split('\n');
        for (QByteArray line : lines) {
            if (line.endsWith('\r')) line.chop(1);
            QString text;
            for (char b : line) {
                if (b == 15) {
                    isCondensed = true;
                } else if (b == 18) {
                    isCondensed = false;
                } else {
                    text += fromCodePage437(QByteArray(1, b));
                }
            }
            painter.setFont(isCondensed ? condensed : normal);
            const QFontMetrics metrics(painter.font());
            if (y + metrics.height() > painter.viewport().height()) {
                printer.newPage();
                y = 0;
            }
            y += metrics.height();
            painter.drawText(0, y, text);
        }
        pending_.clear();
        if (!painter.end()) return Error{3, u"La impresora del sistema rechazó el trabajo"_s};
        return {};
    }

  private:
    QByteArray pending_;
};

}  // namespace

Result<std::unique_ptr<PrinterOutput>> openSystemPrinter() {
    return std::unique_ptr<PrinterOutput>(std::make_unique<SystemPrinterOutput>());
}

}  // namespace vendura
