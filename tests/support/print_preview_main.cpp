// vendura_print_preview PORT_BYTES OUT.png [DPI]: what a ticket printer would put on paper
// for the bytes the counter sent to its port.
#include "dot_matrix.h"

#include <QFile>
#include <QGuiApplication>

#include <cstdio>

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc < 3) return std::fprintf(stderr, "usage: %s PORT_BYTES OUT.png [DPI]\n", argv[0]), 2;
    QFile in(QString::fromLocal8Bit(argv[1]));
    if (!in.open(QIODevice::ReadOnly)) return std::fprintf(stderr, "cannot read %s\n", argv[1]), 1;
    const int dpi = argc > 3 ? QByteArray(argv[3]).toInt() : 180;
    const QImage page = vendura::test::renderDotMatrix(in.readAll(), dpi > 0 ? dpi : 180);
    if (!page.save(QString::fromLocal8Bit(argv[2])))
        return std::fprintf(stderr, "cannot write %s\n", argv[2]), 1;
    return 0;
}
