#include "generators/screens/random_screen.h"

#include "generators/number_lists.h"
#include "platform/clock.h"
#include "sales/screens/entry_keys.h"
#include "sales/screens/sales_screen.h"
#include "session/screens/named.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

namespace vendura {

RandomScreen::RandomScreen(SalesScreen& sales, RandomSource& random)
    : GeneratorScreen(sales, "Form14", u"Jugada a la Suerte"_s), random_(random) {
    auto* row = new QWidget;
    auto* digits = new QHBoxLayout(row);
    const char* names[] = {"Label2", "Label3", "Label4"};
    for (size_t i = 0; i < digits_.size(); ++i) {
        digits_[i] = named(new QLabel, names[i]);
        QFont big = digits_[i]->font();
        big.setPointSize(big.pointSize() + 24);
        big.setBold(true);
        digits_[i]->setFont(big);
        digits_[i]->setAlignment(Qt::AlignCenter);
        digits->addWidget(digits_[i]);
    }
    addRow(nullptr, row);
    auto* label1 = named(
        new QLabel(u"Pulse en el Boton para DETENER los Numeros o use la tecla ENTER"_s), "Label1");
    label1->setWordWrap(true);
    addRow(nullptr, label1);
    addAmount("Label5", u"Monto Bs."_s, "Text1", true);
    command1_ = named(new QPushButton(u"DETENER"_s), "Command1");
    command1_->setAutoDefault(false);
    command1_->installEventFilter(this);
    connect(command1_, &QPushButton::clicked, this, &RandomScreen::sell);
    addRow(nullptr, command1_);
    setTabOrder(amountField(), command1_);

    timer1_ = named(new QTimer(this), "Timer1");
    timer1_->setInterval(100);
    connect(timer1_, &QTimer::timeout, this, &RandomScreen::draw);
    draw();
    timer1_->start();
}

void RandomScreen::draw() {
    digits_[0]->setText(QString::number(randomDigit(random_.ticketNumber())));
    digits_[1]->setText(QString::number(randomDigit(random_.ticketNumber()) + 1));
    digits_[2]->setText(QString::number(randomDigit(random_.ticketNumber())));
    for (QLabel* d : digits_) d->repaint();
}

QString RandomScreen::number() const {
    return digits_[0]->text() + digits_[1]->text() + digits_[2]->text();
}

// Enter in the amount goes to the button, where a second Enter presses it.
bool RandomScreen::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress && isEnter(static_cast<QKeyEvent*>(event))) {
        if (watched == amountField()) {
            command1_->setFocus(Qt::TabFocusReason);
            return true;
        }
        if (watched == command1_) {
            command1_->click();
            return true;
        }
    }
    return GeneratorScreen::eventFilter(watched, event);
}

void RandomScreen::sell() {
    if (amountField()->text().isEmpty()) {
        close();
        return;
    }
    sales().state().jugadaactual = u"A la Suerte"_s;
    timer1_->stop();
    const auto t = target(false);
    if (!t) return;
    const auto amount = positiveAmount();
    if (!amount) return;
    const QString shown = number();
    sellItems(xcreanormalSuerte(caller(), shown, amount->plain(), t->codes()),
              generatedItems(t->lotteries, {shown}, *amount), *t);
    amountField()->clear();
    focusField(amountField());
}

}  // namespace vendura
