#include "office/screens/sales_chart.h"

#include <QPainter>

#include <algorithm>

namespace vendura::office {
namespace {

struct Bar {
    QString caption;
    Money amount;
};

// Bars from the bottom of `area`, the tallest reaching its top, each captioned below and its
// amount above when there is room.
void drawBars(QPainter& p, const QRectF& area, const QString& title, const std::vector<Bar>& bars,
              const QColor& colour) {
    const QFontMetricsF m(p.font());
    p.setPen(Qt::black);
    p.drawText(QRectF(area.left(), area.top(), area.width(), m.height()), Qt::AlignLeft, title);
    const QRectF plot = area.adjusted(0, m.height() * 2.2, 0, -m.height() * 1.4);
    qint64 most = 1;
    for (const Bar& b : bars) most = std::max(most, b.amount.units());
    const double slot = plot.width() / std::max<size_t>(1, bars.size());
    p.setPen(QColor(160, 160, 160));
    p.drawLine(plot.bottomLeft(), plot.bottomRight());
    for (size_t i = 0; i < bars.size(); ++i) {
        const double h =
            plot.height() * double(std::max<qint64>(0, bars[i].amount.units())) / double(most);
        const QRectF bar(plot.left() + slot * double(i) + slot * 0.15, plot.bottom() - h,
                         slot * 0.7, h);
        p.fillRect(bar, colour);
        p.setPen(Qt::black);
        p.drawText(QRectF(plot.left() + slot * double(i), plot.bottom() + 2, slot, m.height()),
                   Qt::AlignHCenter | Qt::AlignTop, bars[i].caption);
        const QString amount = bars[i].amount.display();
        if (!bars[i].amount.isZero() && m.horizontalAdvance(amount) <= slot * 1.1) {
            p.drawText(QRectF(plot.left() + slot * double(i) - slot * 0.1,
                              bar.top() - m.height() - 1, slot * 1.2, m.height()),
                       Qt::AlignHCenter | Qt::AlignBottom, amount);
        }
    }
}

}  // namespace

SalesChart::SalesChart(QWidget* parent) : QWidget(parent) {
    setObjectName(u"graficoVentas"_s);
    setMinimumSize(600, 320);
}

QSize SalesChart::sizeHint() const {
    return {1000, 520};
}

void SalesChart::setSales(DaySales sales) {
    sales_ = std::move(sales);
    update();
}

void SalesChart::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), Qt::white);
    std::vector<Bar> lotteries, hours;
    for (const auto& [code, amount] : sales_.lotteries) lotteries.push_back({code, amount});
    // the hours the network sells in, from the first with sales to the last
    int first = 24, last = -1;
    for (int h = 0; h < 24; ++h) {
        if (sales_.hours[size_t(h)].isZero()) continue;
        first = std::min(first, h);
        last = h;
    }
    if (last < 0) first = 8, last = 20;
    for (int h = first; h <= last; ++h) {
        hours.push_back({u"%1:00"_s.arg(h, 2, 10, QChar(u'0')), sales_.hours[size_t(h)]});
    }
    const QRectF all = QRectF(rect()).adjusted(12, 8, -12, -8);
    const double gap = 24;
    const double split = all.width() * 0.42;
    drawBars(p, QRectF(all.left(), all.top(), split - gap, all.height()), u"Ventas por lotería"_s,
             lotteries, QColor(70, 130, 180));
    drawBars(p, QRectF(all.left() + split, all.top(), all.width() - split, all.height()),
             u"Ventas por hora de emisión"_s, hours, QColor(46, 139, 87));
}

}  // namespace vendura::office
