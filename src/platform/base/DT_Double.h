#pragma once
// Boxed numbers with tolerant comparisons. Every comparison answers 1 or 0:
//   Lik(v, tol)            |value - v| <= tol
//   StorreEnn(v, tol)      value >  v + tol
//   MindreEnn(v, tol)      value <  v - tol
//   StorreEllerLik(v, tol) value >= v - tol
//   MindreEllerLik(v, tol) value <= v + tol
// so every one of them answers 0 when the value or v is NaN.

#include "platform/base/HovedObjekt.h"

#include <cmath>

template <typename T> class DT_Number : public HovedObjekt {
public:
    DT_Number(T value = T{}) : value_(value) {}

    T Get() const { return value_; }
    int Init(T value) {
        value_ = value;
        return 1;
    }
    int InitRel(T delta) {
        value_ += delta;
        return 1;
    }
    int InitMult(T factor) {
        value_ *= factor;
        return 1;
    }
    T Abs() const { return value_ < T{} ? -value_ : value_; }
    // 1 makes the value positive, -1 negative; any other sign changes nothing and answers 0.
    int SnuFortegn(int sign) {
        if (sign == 1)
            value_ = Abs();
        else if (sign == -1)
            value_ = -Abs();
        else
            return 0;
        return 1;
    }

    int Lik(T v, T tol = T{}) const { return Distance(v) <= static_cast<double>(tol); }
    int StorreEnn(T v, T tol = T{}) const {
        return static_cast<double>(value_) > static_cast<double>(v) + static_cast<double>(tol);
    }
    int MindreEnn(T v, T tol = T{}) const {
        return static_cast<double>(value_) < static_cast<double>(v) - static_cast<double>(tol);
    }
    // Written out rather than as !MindreEnn / !StorreEnn, which would answer 1 for NaN.
    int StorreEllerLik(T v, T tol = T{}) const {
        return static_cast<double>(value_) >= static_cast<double>(v) - static_cast<double>(tol);
    }
    int MindreEllerLik(T v, T tol = T{}) const {
        return static_cast<double>(value_) <= static_cast<double>(v) + static_cast<double>(tol);
    }

protected:
    double Distance(T v) const {
        return std::fabs(static_cast<double>(value_) - static_cast<double>(v));
    }
    T value_;
};

class DT_Double : public DT_Number<double> {
public:
    using DT_Number<double>::DT_Number;
    const char* KlasseNavn() const override { return "DT_Double"; }
    int KlasseType() const override { return rigel::klasse::Double; }

    // Rounds to the given number of decimals, halves away from zero.
    int RundAv(int decimals) {
        const double scale = std::pow(10.0, decimals);
        value_ = std::round(value_ * scale) / scale;
        return 1;
    }
};

class DT_Int : public DT_Number<int> {
public:
    using DT_Number<int>::DT_Number;
    const char* KlasseNavn() const override { return "DT_Int"; }
    int KlasseType() const override { return rigel::klasse::Int; }

    // Rounds to a multiple of 10^-decimals for negative decimals (-1: tens); otherwise unchanged.
    int RundAv(int decimals) {
        if (decimals >= 0)
            return 1;
        double scale = std::pow(10.0, -decimals);
        value_ = static_cast<int>(std::round(value_ / scale) * scale);
        return 1;
    }
};
