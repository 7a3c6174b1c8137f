// Numbers typed by the user and numbers shown to the user: the two-term evaluator of numeric
// fields, the printf-style formatter with the program's own real-number rules, and rounding.
// Every routine that writes text takes the size of its output buffer and never writes past it.
#pragma once

#include <cstdarg>
#include <cstddef>

// The evaluator's working record, made on the caller's stack.
class CTwoTermExpr {
public:
    CTwoTermExpr() : error(0), cursor(0) {}
    int error;  // 1 after input the evaluator does not accept
    int cursor; // index of the next character to read
};

// One number, or two joined by one of + - * /; blanks may stand anywhere. Anything else, and
// the empty text, gives 0; so does a division by (nearly) zero.
double EvalTwoTermExpr(CTwoTermExpr& expr, const char* text);

// printf-style formatting: d o x X u c s as the C library does, f e g by the program's own
// rules (exponent with three digits, %lf and %f alike). The result is cut to outSize - 1 bytes
// on a character boundary.
void FormatWithReals(char* out, size_t outSize, const char* format, ...);
void FormatWithRealsV(char* out, size_t outSize, const char* format, va_list args);

// value with the given decimals ("%.*f"); with trim, trailing zeros and a trailing point go;
// a minus sign in front of a zero goes. Returns out.
char* FormatDouble(char* out, size_t outSize, double value, int decimals, int trim);

// "1234567.5" -> "1,234,567.5"; blanks at both ends are removed; text that is not a number
// of that form comes back unchanged. Returns out.
char* InsertThousandsSeparators(char* out, size_t outSize, const char* text);

// Rounds to a multiple of inner, then, when outer is larger, to a multiple of outer; halves
// go away from zero.
double RoundToStep(double value, double outer, double inner);

// Rounds to the given decimals (negative: to tens, hundreds, ...).
double RoundToDecimals(double value, int decimals);
