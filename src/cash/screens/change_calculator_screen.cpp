#include "cash/screens/change_calculator_screen.h"

#include "cash/change_calculator.h"
#include "platform/result.h"
#include "session/screens/named.h"

#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>

namespace vendura {
namespace {

bool closesTheScreen(const QKeyEvent* key) {
    return key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter ||
           key->key() == Qt::Key_Escape;
}

}  // namespace

ChangeCalculatorScreen::ChangeCalculatorScreen(const QString& lastTicket, const Session& session,
                                               QWidget* parent)
    : SecondaryScreen(parent) {
    useColoursOf(session);
    setObjectName(u"controlefectivo"_s);
    setWindowTitle(u"Control de Efectivo"_s);

    auto* grid = new QGridLayout(this);
    label2_ = named(new QLabel(lastTicket), "Label2");
    text1_ = named(new QLineEdit, "Text1");
    text1_->setMaxLength(12);
    // the key filter below decides; this keeps a paste to what could have been typed
    text1_->setValidator(
        new QRegularExpressionValidator(QRegularExpression(u"[0-9]*\\.?[0-9]*"_s), text1_));
    label5_ = named(new QLabel(u"0"_s), "Label5");
    QFont big = text1_->font();
    big.setPointSize(big.pointSize() + 8);
    big.setBold(true);
    for (QWidget* w : std::initializer_list<QWidget*>{label2_, text1_, label5_}) w->setFont(big);
    for (QLabel* l : {label2_, label5_}) l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    text1_->setAlignment(Qt::AlignRight);

    grid->addWidget(named(new QLabel(u"Total Ticket"_s), "Label1"), 0, 0);
    grid->addWidget(label2_, 0, 1);
    grid->addWidget(named(new QLabel(u"Efectivo"_s), "Label3"), 1, 0);
    grid->addWidget(text1_, 1, 1);
    grid->addWidget(named(new QLabel(u"Cambio:"_s), "Label4"), 2, 0);
    grid->addWidget(label5_, 2, 1);
    auto* cerrar = named(new QPushButton(u"&Cerrar"_s), "XPButton1");
    cerrar->setAutoDefault(false);
    grid->addWidget(cerrar, 3, 1);
    setMinimumWidth(360);

    watch(text1_, true);
    text1_->installEventFilter(this);
    cerrar->installEventFilter(this);
    connect(cerrar, &QPushButton::clicked, this, &QDialog::accept);
    connect(text1_, &QLineEdit::textChanged, this, [this](const QString& cash) {
        label5_->setText(changeCaption(label2_->text(), cash, label5_->text()));
    });
}

QWidget* ChangeCalculatorScreen::firstField() const {
    return text1_;
}

bool ChangeCalculatorScreen::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress) return SecondaryScreen::eventFilter(watched, event);
    auto* key = static_cast<QKeyEvent*>(event);
    if (closesTheScreen(key)) {
        accept();
        return true;
    }
    if (watched != text1_) return false;
    const QString typed = key->text();
    if (key->key() == Qt::Key_Backspace || typed.size() != 1 || !typed[0].isPrint()) return false;
    return !cashFieldAccepts(text1_->text(), typed[0]);
}

void ChangeCalculatorScreen::keyPressEvent(QKeyEvent* event) {
    if (closesTheScreen(event)) {
        accept();
        return;
    }
    SecondaryScreen::keyPressEvent(event);
}

}  // namespace vendura
