#include "dot_matrix.h"

#include "platform/code_page_437.h"

#include <QFont>
#include <QPainter>

#include <zbar.h>

namespace vendura::test {

QImage renderDotMatrix(const QByteArray& bytes, int dpi) {
    const double column = dpi / 120.0, pin = dpi / 72.0, dot = dpi / 72.0;
    QImage page(int(dpi * 4.4), dpi * 40, QImage::Format_Grayscale8);
    page.fill(Qt::white);
    QPainter p(&page);
    p.setRenderHint(QPainter::Antialiasing);
    p.setBrush(Qt::black);
    QFont font(QStringLiteral("DejaVu Sans Mono"));
    font.setStyleHint(QFont::TypeWriter);

    double x = dpi * 0.1, y = dpi * 0.1, lineSpacing = dpi / 6.0, bottom = y;
    const double left = x;
    bool condensed = false;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        if (b == 27 && i + 1 < bytes.size()) {
            const char command = bytes[++i];
            if (command == '3' && i + 1 < bytes.size()) {
                lineSpacing = static_cast<unsigned char>(bytes[++i]) * dpi / 216.0;
            } else if (command == 'J' && i + 1 < bytes.size()) {
                y += static_cast<unsigned char>(bytes[++i]) * dpi / 216.0;
                x = left;
            } else if (command == '@') {
                lineSpacing = dpi / 6.0;
                condensed = false;
            } else if (command == 'L' && i + 2 < bytes.size()) {
                const int count = static_cast<unsigned char>(bytes[i + 1]) +
                                  256 * static_cast<unsigned char>(bytes[i + 2]);
                i += 2;
                p.setPen(Qt::NoPen);
                for (int c = 0; c < count && i + 1 < bytes.size(); ++c) {
                    const auto pins = static_cast<unsigned char>(bytes[++i]);
                    for (int bit = 0; bit < 8; ++bit) {
                        if (pins & (0x80 >> bit)) {
                            p.drawEllipse(QRectF(x + c * column, y + bit * pin, dot, dot));
                        }
                    }
                }
                x += count * column;
                bottom = std::max(bottom, y + 8 * pin);
            }
        } else if (b == '\r') {
            x = left;
        } else if (b == '\n') {
            y += lineSpacing;
        } else if (b == 15) {
            condensed = true;
        } else if (b == 18) {
            condensed = false;
        } else if (b >= 32) {
            const double advance = dpi / (condensed ? 17.14 : 10.0);
            font.setPixelSize(int(advance * 1.6));
            p.setFont(font);
            p.setPen(Qt::black);
            p.drawText(QPointF(x, y + dpi / 6.0 * 0.8), fromCodePage437(QByteArray(1, char(b))));
            x += advance;
            bottom = std::max(bottom, y + dpi / 6.0);
        }
    }
    p.end();
    return page.copy(0, 0, page.width(), std::min(page.height(), int(bottom + dpi * 0.2)));
}

QStringList readBarcodes(const QImage& image) {
    using namespace zbar;
    const QImage grey = image.convertToFormat(QImage::Format_Grayscale8);
    QByteArray pixels;
    for (int row = 0; row < grey.height(); ++row) {
        pixels.append(reinterpret_cast<const char*>(grey.constScanLine(row)), grey.width());
    }
    zbar_image_scanner_t* scanner = zbar_image_scanner_create();
    zbar_image_scanner_set_config(scanner, ZBAR_NONE, ZBAR_CFG_ENABLE, 1);
    zbar_image_t* zimage = zbar_image_create();
    zbar_image_set_format(zimage, zbar_fourcc('Y', '8', '0', '0'));
    zbar_image_set_size(zimage, unsigned(grey.width()), unsigned(grey.height()));
    zbar_image_set_data(zimage, pixels.constData(), unsigned(pixels.size()), nullptr);
    zbar_scan_image(scanner, zimage);
    QStringList found;
    for (const zbar_symbol_t* s = zbar_image_first_symbol(zimage); s; s = zbar_symbol_next(s)) {
        found << QString::fromLatin1(zbar_get_symbol_name(zbar_symbol_get_type(s))) + u':' +
                     QString::fromLatin1(zbar_symbol_get_data(s));
    }
    zbar_image_destroy(zimage);
    zbar_image_scanner_destroy(scanner);
    return found;
}

}  // namespace vendura::test
