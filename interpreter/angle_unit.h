#pragma once
// The unit in which sin, cos, tan read their angle and their inverses give it:
// radians until a program runs Deg, Rad or Gra. Grads are 400 to the circle.
// Angles the system uses on its own (complex arithmetic, Circle) stay radians.

namespace korvane {

enum class AngleUnit { Radians, Degrees, Grads };

// An angle of `unit` is reduced into one circle first where that is exact
// (degrees, grads), and whole quarter turns give exact 0, 1 and -1, so that
// sin 180 is 0 and cos 90 is 0 rather than a residue of 1e-16; tan at an odd
// quarter turn divides by that 0 (infinity, as 1/0 gives).
double SineOf(double angle, AngleUnit unit);
double CosineOf(double angle, AngleUnit unit);
double TangentOf(double angle, AngleUnit unit);

// An angle in radians given in `unit` (arcsin, arccos, arctan).
double AngleFromRadians(double radians, AngleUnit unit);

}  // namespace korvane
