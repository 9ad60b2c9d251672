#include "office/screens/exposure_grid.h"

#include <QHelpEvent>
#include <QPainter>
#include <QToolTip>

namespace vendura::office {
namespace {
constexpr int kColumns = 40;
constexpr int kRows = 25;
}  // namespace

ExposureGrid::ExposureGrid(QWidget* parent) : QWidget(parent) {
    setObjectName(u"gridExposicion"_s);
    setMinimumSize(kColumns * 18, kRows * 12);
}

void ExposureGrid::setNumbers(std::vector<NumberExposure> numbers) {
    numbers_ = std::move(numbers);
    update();
}

QColor ExposureGrid::shade(int soldShare) {
    const int s = std::clamp(soldShare, 0, 10000);
    // white to yellow over the first half, yellow to red over the second
    if (s <= 5000) return QColor(255, 255, 255 - s * 255 / 5000);
    return QColor(255, 255 - (s - 5000) * 255 / 5000, 0);
}

QSize ExposureGrid::sizeHint() const {
    return {kColumns * 30, kRows * 20};
}

void ExposureGrid::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const double w = double(width()) / kColumns, h = double(height()) / kRows;
    // three digits fit a cell, or the cell goes without them
    QFont font = p.font();
    font.setPixelSize(std::max(1, int(std::min(h * 0.6, w / 2.1))));
    p.setFont(font);
    const bool numbered = font.pixelSize() >= 7;
    for (int i = 0; i < int(numbers_.size()) && i < kColumns * kRows; ++i) {
        const QRectF cell((i % kColumns) * w, (i / kColumns) * h, w, h);
        p.fillRect(cell, shade(numbers_[size_t(i)].soldShare()));
        p.setPen(QColor(200, 200, 200));
        p.drawRect(cell);
        if (!numbered) continue;
        p.setPen(Qt::black);
        p.drawText(cell, Qt::AlignCenter, numbers_[size_t(i)].numero);
    }
}

int ExposureGrid::numberAt(const QPoint& at) const {
    const int column = at.x() * kColumns / std::max(1, width());
    const int row = at.y() * kRows / std::max(1, height());
    const int i = row * kColumns + column;
    return i >= 0 && i < int(numbers_.size()) ? i : -1;
}

bool ExposureGrid::event(QEvent* event) {
    if (event->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(event);
        const int i = numberAt(help->pos());
        if (i < 0) {
            QToolTip::hideText();
        } else {
            const NumberExposure& n = numbers_[size_t(i)];
            QToolTip::showText(help->globalPos(),
                               n.numero + u": vendido "_s + n.vendido.display() + u", queda "_s +
                                   n.quotaLeft().display() + u", paga "_s +
                                   n.pagaPrimero.display() + u" si sale primero"_s,
                               this);
        }
        return true;
    }
    return QWidget::event(event);
}

}  // namespace vendura::office
