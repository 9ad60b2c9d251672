#pragma once

#include "platform/result.h"

#include <QString>
#include <QtGlobal>

#include <compare>

namespace vendura {

// An amount of bolívares in fixed point: a 64-bit count of ten-thousandths.
class Money {
  public:
    static constexpr qint64 kScale = 10000;

    constexpr Money() = default;
    static constexpr Money fromUnits(qint64 units) { return Money(units); }
    static constexpr Money whole(qint64 amount) { return Money(amount * kScale); }

    // What a seller or the server writes: blanks around, an optional "-", digits, and at most
    // one decimal separator, "." or ",". At most four decimals and fourteen whole digits.
    static Result<Money> parse(const QString& text);
    // The display form "1.234,50" back to an amount ("." thousands, "," decimals).
    static Result<Money> parseDisplay(const QString& text);

    constexpr qint64 units() const { return units_; }
    constexpr bool isZero() const { return units_ == 0; }
    constexpr bool isPositive() const { return units_ > 0; }

    // "###,###0.00": thousands ".", decimals ",", two decimals rounded half away from zero.
    QString display() const;
    // The shortest decimal text with "." as separator ("10", "0.01", "1234.5"): how amounts
    // travel to the server.
    QString plain() const;
    // Bolívares (Bs.) to bolívares fuertes (Bs.F.): divided by 1000, refused when the result
    // needs more than four decimals.
    Result<Money> bolivaresToFuertes() const;

    constexpr Money operator+(Money o) const { return Money(units_ + o.units_); }
    constexpr Money operator-(Money o) const { return Money(units_ - o.units_); }
    constexpr Money& operator+=(Money o) {
        units_ += o.units_;
        return *this;
    }
    constexpr Money& operator-=(Money o) {
        units_ -= o.units_;
        return *this;
    }
    constexpr auto operator<=>(const Money&) const = default;

  private:
    constexpr explicit Money(qint64 units) : units_(units) {}
    qint64 units_ = 0;
};

// "," to "." and "." to ",": the server writes decimals with ".", the screens with ",".
QString comaapunto(QString text);
QString puntoacoma(QString text);

// A configuration number as the counter shows it: "3", "2,5".
QString numberText(double value);

}  // namespace vendura
