#pragma once

#include "cash/decimal.h"

#include <QString>
#include <QStringList>

namespace vendura {

// The counter's calculator: a number being typed, one pending operation, and a paper tape of
// what was done. Operations run in the order typed (2 + 3 × 4 = 20), as on a desk
// calculator; the result of "=" is the first operand of whatever follows.
class Calculator {
  public:
    enum class Op { None, Add, Subtract, Multiply, Divide };

    void digit(QChar d);
    void point();
    void backspace();
    void operation(Op op);
    void equals();
    void clear();
    // The number shown, taken as bolívares (Bs.), to bolívares fuertes (Bs.F.): ÷ 1000; and back.
    void toFuertes();
    void toBolivares();

    // What the display shows: the number being typed, the last result, or an error.
    QString display() const;
    QStringList tape() const { return tape_; }
    bool failed() const { return !error_.isEmpty(); }

  private:
    Decimal current() const;
    void apply(Result<Decimal> result, const QString& line);
    void convert(bool toFuertes);

    QString typed_;  // the number being typed, as typed
    Decimal value_;  // the number shown when nothing is being typed
    Decimal accumulator_;
    Op pending_ = Op::None;
    bool operand_ = false;  // a number was typed or converted since the last sign
    QString error_;
    QStringList tape_;
};

// The sign of an operation on the tape: "+", "−", "×", "÷".
QString operationSign(Calculator::Op op);

}  // namespace vendura
