#pragma once
// The emulator's number: a complex value kept as two doubles, the imaginary
// part first as the calculator's own records hold it. Numbers typed in a
// program are real (imag 0); comparisons, conditions, indices and counts use
// the real part only.

namespace korvane {

struct Value {
  double imag = 0.0;
  double real = 0.0;

  static constexpr Value Real(double x) { return Value{0.0, x}; }
  bool IsReal() const { return imag == 0.0; }
  bool operator==(const Value&) const = default;
};

}  // namespace korvane
