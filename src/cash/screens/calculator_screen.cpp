#include "cash/screens/calculator_screen.h"

#include "platform/result.h"
#include "session/screens/named.h"

#include <QGridLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace vendura {
namespace {

// The keys of the button grid: what a click types, and the caption.
struct Key {
    char16_t typed;
    const char* caption;
};
const Key kGrid[5][4] = {
    {{u'C', "C"}, {u'F', "Bs→F"}, {u'B', "F→Bs"}, {u'/', "÷"}},
    {{u'7', "7"}, {u'8', "8"}, {u'9', "9"}, {u'*', "×"}},
    {{u'4', "4"}, {u'5', "5"}, {u'6', "6"}, {u'-', "−"}},
    {{u'1', "1"}, {u'2', "2"}, {u'3', "3"}, {u'+', "+"}},
    {{u'0', "0"}, {u',', ","}, {u'\b', "←"}, {u'=', "="}},
};

}  // namespace

CalculatorScreen::CalculatorScreen(QWidget* over) : SecondaryScreen(over) {
    setAttribute(Qt::WA_DeleteOnClose);
    setObjectName(u"fCalculator"_s);
    setWindowTitle(u"Calculadora"_s);
    auto* layout = new QVBoxLayout(this);
    display_ = named(new QLineEdit, "Pantalla");
    display_->setReadOnly(true);
    display_->setAlignment(Qt::AlignRight);
    display_->setFocusPolicy(Qt::NoFocus);
    QFont big = display_->font();
    big.setPointSize(big.pointSize() + 8);
    display_->setFont(big);
    layout->addWidget(display_);
    auto* grid = new QGridLayout;
    for (int r = 0; r < 5; ++r) {
        for (int c = 0; c < 4; ++c) {
            const Key& k = kGrid[r][c];
            auto* b = new QPushButton(QString::fromUtf8(k.caption));
            b->setFocusPolicy(Qt::NoFocus);
            b->setAutoDefault(false);
            const QChar typed(k.typed);
            connect(b, &QPushButton::clicked, this, [this, typed] { press(typed); });
            grid->addWidget(b, r, c);
        }
    }
    layout->addLayout(grid);
    tape_ = named(new QListWidget, "Cinta");
    tape_->setFocusPolicy(Qt::NoFocus);
    tape_->setMinimumHeight(120);
    layout->addWidget(tape_);
    setFocusPolicy(Qt::StrongFocus);
    refresh();
}

void CalculatorScreen::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Escape:
            close();
            return;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            press(u'=');
            return;
        case Qt::Key_Backspace:
            press(u'\b');
            return;
        case Qt::Key_Delete:
            press(u'C');
            return;
        default:
            break;
    }
    const QString text = event->text();
    if (text.size() == 1) press(text[0]);
}

void CalculatorScreen::press(QChar key) {
    const QChar k = key.toUpper();
    if (k >= u'0' && k <= u'9') {
        calc_.digit(k);
    } else if (k == u',' || k == u'.') {
        calc_.point();
    } else if (k == u'+') {
        calc_.operation(Calculator::Op::Add);
    } else if (k == u'-') {
        calc_.operation(Calculator::Op::Subtract);
    } else if (k == u'*' || k == u'X') {
        calc_.operation(Calculator::Op::Multiply);
    } else if (k == u'/') {
        calc_.operation(Calculator::Op::Divide);
    } else if (k == u'=') {
        calc_.equals();
    } else if (k == u'\b') {
        calc_.backspace();
    } else if (k == u'C') {
        calc_.clear();
    } else if (k == u'F') {
        calc_.toFuertes();
    } else if (k == u'B') {
        calc_.toBolivares();
    } else {
        return;
    }
    refresh();
}

void CalculatorScreen::refresh() {
    display_->setText(calc_.display());
    tape_->clear();
    tape_->addItems(calc_.tape());
    tape_->scrollToBottom();
}

}  // namespace vendura
