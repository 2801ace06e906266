#pragma once
// Numeric helpers behind the program's number texts. MathLog and MathRound work in
// single precision on purpose: the size text's unit choice depends on it.

float MathLog(double x);
// mode 0 floor, 1 ceiling, 2 nearest with halves away from zero
float MathRound(double x, int mode);
double MathPow(double base, double exponent);

// An integer from 0 to max inclusive.
long long RandomUpTo(long long max);
