#include "cash/calculator.h"

namespace vendura {
namespace {

// What a number may hold as typed: ten whole digits and the eight decimals the arithmetic keeps.
constexpr int kMaxWhole = 10;

Result<Decimal> operate(Calculator::Op op, Decimal a, Decimal b) {
    switch (op) {
        case Calculator::Op::Add:
            return a.plus(b);
        case Calculator::Op::Subtract:
            return a.minus(b);
        case Calculator::Op::Multiply:
            return a.times(b);
        case Calculator::Op::Divide:
            return a.dividedBy(b);
        case Calculator::Op::None:
            break;
    }
    return b;
}

}  // namespace

QString operationSign(Calculator::Op op) {
    switch (op) {
        case Calculator::Op::Add:
            return u"+"_s;
        case Calculator::Op::Subtract:
            return u"−"_s;
        case Calculator::Op::Multiply:
            return u"×"_s;
        case Calculator::Op::Divide:
            return u"÷"_s;
        case Calculator::Op::None:
            break;
    }
    return QString();
}

void Calculator::digit(QChar d) {
    if (failed() || d < u'0' || d > u'9') return;
    const qsizetype comma = typed_.indexOf(u',');
    const qsizetype held = comma < 0 ? typed_.size() : typed_.size() - comma - 1;
    if (held >= (comma < 0 ? kMaxWhole : Decimal::kDecimals)) return;
    if (typed_ == u"0"_s) typed_.clear();
    typed_ += d;
    operand_ = true;
}

void Calculator::point() {
    if (failed() || typed_.contains(u',')) return;
    typed_ += typed_.isEmpty() ? u"0,"_s : u","_s;
    operand_ = true;
}

void Calculator::backspace() {
    if (!failed()) typed_.chop(1);
}

Decimal Calculator::current() const {
    if (typed_.isEmpty()) return value_;
    const auto parsed = Decimal::parse(typed_);  // what digit() lets through always parses
    return parsed ? parsed.value() : Decimal();
}

void Calculator::apply(Result<Decimal> result, const QString& line) {
    tape_ << line;
    typed_.clear();
    if (!result) {
        error_ = result.error().description;
        tape_ << error_;
        return;
    }
    value_ = result.value();
}

void Calculator::operation(Op op) {
    if (failed()) return;
    const Decimal operand = current();
    if (!operand_ && pending_ != Op::None) {
        pending_ = op;  // a second sign in a row replaces the first
        if (!tape_.isEmpty())
            tape_.last() = tape_.last().section(u' ', 0, -2) + u" "_s + operationSign(op);
        return;
    }
    apply(operate(pending_, accumulator_, operand), operand.display() + u" "_s + operationSign(op));
    accumulator_ = value_;
    pending_ = op;
    operand_ = false;
}

void Calculator::equals() {
    if (failed()) return;
    const Decimal operand = current();
    apply(operate(pending_, accumulator_, operand), operand.display());
    pending_ = Op::None;
    operand_ = false;
    if (!failed()) tape_ << u"= "_s + value_.display();
}

void Calculator::clear() {
    *this = Calculator();
}

void Calculator::convert(bool toFuertes) {
    if (failed()) return;
    const Decimal thousand = Decimal::whole(1000);
    const Decimal shown = current();
    apply(toFuertes ? shown.dividedBy(thousand) : shown.times(thousand),
          shown.display() + (toFuertes ? u" Bs. → Bs.F."_s : u" Bs.F. → Bs."_s));
    if (!failed()) tape_ << u"= "_s + value_.display();
    operand_ = true;
}

void Calculator::toFuertes() {
    convert(true);
}

void Calculator::toBolivares() {
    convert(false);
}

QString Calculator::display() const {
    if (failed()) return error_;
    if (!typed_.isEmpty()) return typed_;
    return value_.display();
}

}  // namespace vendura
