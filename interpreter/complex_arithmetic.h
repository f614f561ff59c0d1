#pragma once
// The arithmetic of the evaluator's complex values. Real operands (imag 0)
// take the plain real operations, so real programs get exact real results
// (-6 / 3 is -2 with no imaginary residue, 1 / 0 is infinity); complex ones
// take the calculator's formulas. No operation reports an error: a division
// by zero or a function outside its domain gives infinity or not-a-number.

#include "interpreter/value.h"

namespace korvane {

Value Add(Value a, Value b);
Value Subtract(Value a, Value b);
Value Multiply(Value a, Value b);
// By modulus and angle: |a| / |b| at arg a - arg b.
Value Divide(Value a, Value b);
Value Square(Value z);
// Modulus 1 / |z| at -arg z.
Value Reciprocal(Value z);
// a raised to b: the real power for a real base >= 0 and a real exponent, or a
// negative real base and a whole exponent; otherwise the principal complex
// power.
Value Power(Value a, Value b);
// The modulus sqrt(real² + imag²).
double Modulus(Value z);
// atan2(imag, real).
double Argument(Value z);

}  // namespace korvane
