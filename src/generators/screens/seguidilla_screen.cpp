#include "generators/screens/seguidilla_screen.h"

#include "generators/number_lists.h"
#include "platform/dialogs.h"
#include "sales/screens/sales_screen.h"
#include "session/server_link.h"
#include "session/session.h"

#include <QLineEdit>

namespace vendura {

SeguidillaScreen::SeguidillaScreen(SalesScreen& sales)
    : GeneratorScreen(sales, "Form7", u"Seguidillas"_s) {
    text1_ = addField("Label1", u"Desde:"_s, "Text1", 3);
    text3_ = addField("Label3", u"Hasta"_s, "Text3", 3);
    addAmount("Label2", u"Monto Bs."_s);
    digitField(text1_, 1, text3_);
    digitField(text3_, 1, amountField());
    setTabOrder(text1_, text3_);
    setTabOrder(text3_, amountField());
}

void SeguidillaScreen::sell() {
    sales().state().jugadaactual = seguidillaLabel(text1_->text(), text3_->text());
    const auto t = target(false);
    if (!t) return;
    const auto amount = positiveAmount();
    if (!amount) return;
    for (QLineEdit* field : {text1_, text3_}) {
        if (field->text().trimmed().isEmpty()) return focusField(field);
    }
    const int first = text1_->text().trimmed().toInt();
    const int last = text3_->text().trimmed().toInt();
    if (seguidillaTooLong(sales().link().session().longitudpermuta, first, last)) {
        sales().dialogs().message(
            DialogIcon::Critical, u"Atención"_s,
            u"Sólo se permiten seguidillas comprendidas en un rango de 10 números!"_s);
        return;
    }
    const auto items = generatedItems(t->lotteries, seguidillaNumbers(first, last), *amount);
    sellItems(xcreaseguid(caller(), text1_->text().trimmed(), text3_->text().trimmed(),
                          amount->plain(), t->codes()),
              items, *t, true, *amount);
}

}  // namespace vendura
