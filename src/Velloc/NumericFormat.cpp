#include "NumericFormat.h"

#include <algorithm>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

constexpr double kEpsilon52 = 2.220446049250313e-16;  // 2^-52

// The nudge against binary fractions: q * 2^-52, at most 0.05.
double Nudge(double q)
{
    double e = q * kEpsilon52;
    return e > 0.05 ? 0.05 : e;
}

constexpr int kMaxFractionDepth = 10;

}  // namespace

double RoundToMultiple(double value, double step)
{
    const double q = value / step;
    return step * std::floor(q + 0.5 + Nudge(q));
}

double RoundToStep(double value, double coarse, double fine)
{
    const bool negated = !(value >= fine);
    const double v = negated ? -value : value;
    const double q = v / fine;
    double h = fine * std::floor(Nudge(q) + q + 0.5);
    if (fine < coarse) h = RoundToMultiple(h, coarse);
    return negated ? -h : h;
}

double RoundToDecimals(double value, double fine, int digits)
{
    return RoundToStep(value, std::pow(10.0, -digits), fine);
}

std::string FormatReal(double value, int precision)
{
    int length = std::snprintf(nullptr, 0, "%.*f", precision, value);
    if (length < 0) return std::string();
    std::vector<char> buffer(static_cast<size_t>(length) + 1);
    std::snprintf(buffer.data(), buffer.size(), "%.*f", precision, value);
    std::string text(buffer.data());
    if (text.find('.') != std::string::npos) {
        while (!text.empty() && text.back() == '0') text.pop_back();
        while (!text.empty() && text.back() == '.') text.pop_back();
    }
    if (!text.empty() && text[0] == '-' && std::atof(text.c_str()) == 0.0) text.erase(0, 1);
    return text;
}

std::string FormatRealText(double value) { return FormatReal(value, 15); }

int FindFraction(long* numerator, long* denominator, int depth, double x)
{
    if (!std::isfinite(x) || x <= 0.0) return 0;
    long num = 0;
    long den = 0;
    if (x > 0.99999999 && x < 1.00000001) {
        num = 1;
        den = 1;
    } else if (x > 1.0) {
        return 0;
    } else {
        const double inverse = 1.0 / x;
        if (!(inverse < 2147483647.0)) return 0;
        const long b = static_cast<long>(inverse + 0.5);
        const double r = std::fabs(inverse - b);
        if (r < 0.001 || depth >= kMaxFractionDepth) {
            num = 1;
            den = b;
        } else {
            long p = 0;
            long q = 0;
            if (!FindFraction(&p, &q, depth + 1, r)) return 0;
            // The products must stay within a long for the fraction to mean anything.
            const double product = static_cast<double>(b) * static_cast<double>(q);
            if (!(product + p < 2147483647.0)) return 0;
            num = q;
            den = inverse >= b ? b * q + p : b * q - p;
        }
    }
    if (den == 0) return 0;
    if (numerator) *numerator = num;
    if (denominator) *denominator = den;
    const double error = std::fabs(x - static_cast<double>(num) / static_cast<double>(den));
    return (error <= 0.0001 || (error > 0.00009999 && error < 0.00010001)) ? 1 : 0;
}

std::string FormatFraction(double x)
{
    const bool nearOne = std::fabs(x - 1.0) < 1e-8;
    if ((x >= 1.0 && !nearOne) || (x > -1e-8 && x < 1e-8)) return FormatReal(x, 15);
    long num = 0;
    long den = 0;
    if (FindFraction(&num, &den, 0, x) == 1 &&
        std::fabs(x - static_cast<double>(num) / static_cast<double>(den)) < 0.001) {
        return FormatStdString("%ld/%ld", num, den);
    }
    return std::string();
}

std::string FormatStdString(const char* format, ...)
{
    va_list arguments;
    va_start(arguments, format);
    std::vector<char> buffer(1024, '\0');
    std::string text;
    for (;;) {
        // A fresh copy of the arguments for every try: a used va_list cannot be read again.
        va_list attempt;
        va_copy(attempt, arguments);
        const int length = std::vsnprintf(buffer.data(), buffer.size(), format, attempt);
        va_end(attempt);
        if (length < 0) break;
        if (static_cast<size_t>(length) < buffer.size()) {
            text.assign(buffer.data(), static_cast<size_t>(length));
            break;
        }
        buffer.assign(std::max(buffer.size() * 2, static_cast<size_t>(length) + 1), '\0');
    }
    va_end(arguments);
    return text;
}

int HexPairToByte(char high, char low)
{
    auto digit = [](char c) {
        const int code = static_cast<unsigned char>(c);
        if (code <= 64) return code - 48;
        if (code <= 96) return code - 55;
        return code - 87;
    };
    return 16 * digit(high) + digit(low);
}
