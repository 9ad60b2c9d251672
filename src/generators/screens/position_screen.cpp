#include "generators/screens/position_screen.h"

#include "generators/number_lists.h"
#include "sales/screens/entry_keys.h"
#include "sales/screens/sales_screen.h"
#include "session/screens/named.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QRadioButton>

namespace vendura {

PositionScreen::PositionScreen(SalesScreen& sales)
    : GeneratorScreen(sales, "Form10", u"Venta de Números Por Posición"_s) {
    text1_ = addField("Label1", u"Numero a Vender el:"_s, "Text1", 1);
    auto* frame1 = named(new QGroupBox, "Frame1");
    auto* options = new QHBoxLayout(frame1);
    const char* names[] = {"Option1", "Option2", "Option3"};
    const QString captions[] = {u"&Izquierda"_s, u"&Centro"_s, u"&Derecha"_s};
    for (size_t i = 0; i < options_.size(); ++i) {
        options_[i] = named(new QRadioButton(captions[i]), names[i]);
        options_[i]->installEventFilter(this);
        options->addWidget(options_[i]);
    }
    options_[0]->setChecked(true);
    addRow(nullptr, frame1);
    addAmount("Label2", u"Monto Bs.F."_s);
    digitField(text1_, 1, options_[0]);
    addWaitText(u"Espere por Favor que se estan Generando las Combinaciones Solicitadas..."_s);
}

QString PositionScreen::mode() const {
    for (size_t i = 0; i < options_.size(); ++i) {
        if (options_[i]->isChecked()) return QString::number(i + 1);
    }
    return QString();
}

// Enter on the position goes on to the amount.
bool PositionScreen::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress && isEnter(static_cast<QKeyEvent*>(event))) {
        for (QRadioButton* option : options_) {
            if (watched != option) continue;
            option->setChecked(true);
            focusField(amountField());
            return true;
        }
    }
    return GeneratorScreen::eventFilter(watched, event);
}

void PositionScreen::sell() {
    sales().state().jugadaactual = u"Posicionados"_s;
    const auto t = target(false);
    if (!t) return;
    const auto amount = positiveAmount();
    if (!amount) return;
    const QString digit = text1_->text().trimmed();
    if (digit.isEmpty()) return focusField(text1_);
    const QStringList numbers = posicionados(digit[0], mode());
    sellItems(xcreaposic(caller(), digit, amount->plain(), mode(), t->codes()),
              generatedItems(t->lotteries, numbers, *amount), *t);
}

}  // namespace vendura
