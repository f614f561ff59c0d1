#include "interpreter/complex_arithmetic.h"

#include <cmath>
#include <complex>

namespace korvane {
namespace {

Value FromPolar(double modulus, double angle) { return Value{modulus * std::sin(angle), modulus * std::cos(angle)}; }

bool BothReal(Value a, Value b) { return a.imag == 0.0 && b.imag == 0.0; }

}  // namespace

double Modulus(Value z) { return z.imag == 0.0 ? std::fabs(z.real) : std::hypot(z.real, z.imag); }

double Argument(Value z) { return std::atan2(z.imag, z.real); }

Value Add(Value a, Value b) { return Value{a.imag + b.imag, a.real + b.real}; }

Value Subtract(Value a, Value b) { return Value{a.imag - b.imag, a.real - b.real}; }

Value Multiply(Value a, Value b) {
  if (BothReal(a, b)) return Value::Real(a.real * b.real);
  return Value{a.real * b.imag + a.imag * b.real, a.real * b.real - a.imag * b.imag};
}

Value Divide(Value a, Value b) {
  if (BothReal(a, b)) return Value::Real(a.real / b.real);
  return FromPolar(Modulus(a) / Modulus(b), Argument(a) - Argument(b));
}

Value Square(Value z) {
  if (z.imag == 0.0) return Value::Real(z.real * z.real);
  return Value{2.0 * z.real * z.imag, z.real * z.real - z.imag * z.imag};
}

Value Reciprocal(Value z) {
  if (z.imag == 0.0) return Value::Real(1.0 / z.real);
  return FromPolar(1.0 / Modulus(z), -Argument(z));
}

Value Power(Value a, Value b) {
  if (BothReal(a, b) && (a.real >= 0.0 || std::trunc(b.real) == b.real || std::isnan(a.real) || std::isnan(b.real)))
    return Value::Real(std::pow(a.real, b.real));
  if (a.real == 0.0 && a.imag == 0.0) {
    // The principal power of 0: 0 for an exponent with a positive real part.
    if (b.real > 0.0) return Value{};
    return Value::Real(std::pow(0.0, b.real));
  }
  // A zero imaginary part counts as +0, so that a negative real base lies on
  // the upper side of the logarithm's cut (its principal argument is +pi).
  const std::complex<double> result = std::exp(std::complex<double>(b.real, b.imag + 0.0) *
                                               std::log(std::complex<double>(a.real, a.imag + 0.0)));
  return Value{result.imag(), result.real()};
}

}  // namespace korvane
