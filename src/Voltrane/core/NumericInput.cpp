#include "core/NumericInput.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "core/Dbcs.h"

// ---------------------------------------------------------------------------------------------
// EvalTwoTermExpr

namespace {

enum class Op { None, Add, Subtract, Multiply, Divide };

double ScanNumber(CTwoTermExpr& expr, const char* text)
{
    std::string collected;
    for (;;) {
        const char c = text[expr.cursor];
        if (c == '\0' || c == '+' || c == '-' || c == '*' || c == '/')
            break;
        if (c == ' ') {
            ++expr.cursor;
            continue;
        }
        if ((c >= '0' && c <= '9') || c == '.') {
            collected += c;
            ++expr.cursor;
            continue;
        }
        expr.error = 1;
        break;
    }
    return collected.empty() ? 0.0 : std::atof(collected.c_str());
}

Op ScanOperator(CTwoTermExpr& expr, const char* text)
{
    for (;;) {
        const char c = text[expr.cursor];
        switch (c) {
        case ' ': ++expr.cursor; continue;
        case '\0': return Op::None;
        case '-': ++expr.cursor; return Op::Subtract;
        case '+': ++expr.cursor; return Op::Add;
        case '*': ++expr.cursor; return Op::Multiply;
        case '/': ++expr.cursor; return Op::Divide;
        default:
            if (c >= '0' && c <= '9')
                return Op::None;
            expr.error = 1;
            return Op::None;
        }
    }
}

} // namespace

double EvalTwoTermExpr(CTwoTermExpr& expr, const char* text)
{
    if (!text || !*text)
        return 0.0;
    expr.error = 0;
    expr.cursor = 0;
    const double first = ScanNumber(expr, text);
    if (expr.error)
        return 0.0;
    const Op op = ScanOperator(expr, text);
    if (expr.error)
        return 0.0;
    const double second = ScanNumber(expr, text);
    if (expr.error)
        return 0.0;
    switch (op) {
    case Op::None: return first;
    case Op::Subtract: return first - second;
    case Op::Add: return first + second;
    case Op::Multiply: return first * second;
    case Op::Divide: return std::fabs(second) > 1e-8 ? first / second : 0.0;
    }
    return 0.0;
}

// ---------------------------------------------------------------------------------------------
// FormatWithReals

namespace {

struct RealSpec {
    char flag = 0;      // 0, '-' or '0'
    int width = 0;
    int precision = 6;
    char letter = 'f';
};

// '%' [- or 0] [width] [. precision] [l] letter; false for anything else.
bool ParseRealSpec(const std::string& conv, RealSpec& spec)
{
    size_t i = 1;
    if (i < conv.size() && (conv[i] == '-' || conv[i] == '0'))
        spec.flag = conv[i++];
    auto digits = [&](int& value) {
        const size_t start = i;
        long v = 0;
        while (i < conv.size() && conv[i] >= '0' && conv[i] <= '9') {
            v = std::min(v * 10 + (conv[i] - '0'), 100000L);
            ++i;
        }
        if (i > start)
            value = static_cast<int>(v);
        return i > start;
    };
    digits(spec.width);
    if (i < conv.size() && conv[i] == '.') {
        ++i;
        spec.precision = 0;
        digits(spec.precision);
    }
    if (i < conv.size() && conv[i] == 'l')
        ++i;
    if (i + 1 != conv.size())
        return false;
    spec.letter = conv[i];
    return true;
}

// Decimal digits of |value| and the position of the decimal point, as the C run-time's
// _ecvt (significant digits) and _fcvt (digits after the point) give them.
void ConvertDigits(double value, bool fixed, int count, std::string& digits, int& point)
{
    const double a = std::fabs(value);
    std::string text;
    if (fixed) {
        const int n = std::snprintf(nullptr, 0, "%.*f", count, a);
        text.resize(static_cast<size_t>(n) + 1);
        std::snprintf(&text[0], text.size(), "%.*f", count, a);
        text.resize(static_cast<size_t>(n));
        const size_t dot = text.find('.');
        std::string intPart = text.substr(0, dot);
        const std::string frac = dot == std::string::npos ? std::string() : text.substr(dot + 1);
        intPart.erase(0, intPart.find_first_not_of('0') == std::string::npos ? intPart.size()
                                                                              : intPart.find_first_not_of('0'));
        if (!intPart.empty()) {
            digits = intPart + frac;
            point = static_cast<int>(intPart.size());
        } else {
            const size_t nz = frac.find_first_not_of('0');
            if (nz == std::string::npos) {
                digits.clear();
                point = 0;
            } else {
                digits = frac.substr(nz);
                point = -static_cast<int>(nz);
            }
        }
    } else {
        const int precision = std::max(count, 1) - 1;
        const int n = std::snprintf(nullptr, 0, "%.*e", precision, a);
        text.resize(static_cast<size_t>(n) + 1);
        std::snprintf(&text[0], text.size(), "%.*e", precision, a);
        text.resize(static_cast<size_t>(n));
        const size_t e = text.find('e');
        digits.clear();
        for (size_t k = 0; k < e; ++k)
            if (text[k] != '.')
                digits += text[k];
        point = std::atoi(text.c_str() + e + 1) + 1;
    }
}

std::string ExponentText(int exponent)
{
    char buffer[16];
    std::snprintf(buffer, sizeof(buffer), "%+04d", exponent);
    return std::string("e") + buffer;
}

std::string FormatReal(const RealSpec& spec, double value)
{
    const bool negative = std::signbit(value);
    std::string body;
    if (std::isnan(value) || std::isinf(value)) {
        body = std::isnan(value) ? "nan" : "inf";
    } else {
        const int p = spec.precision;
        std::string digits;
        int point = 0;
        const bool g = spec.letter == 'g';
        const int significant = spec.letter == 'e' ? p + 1 : std::max(p, 1);
        ConvertDigits(value, spec.letter == 'f', spec.letter == 'f' ? p : significant, digits, point);
        const bool zero = digits.find_first_not_of('0') == std::string::npos;
        if (zero) {
            digits.assign(static_cast<size_t>(g ? significant : p + 1), '0');
            point = 1;
        }
        if (spec.letter == 'f') {
            body = point > 0 ? digits.substr(0, static_cast<size_t>(point)) : "0";
            if (p > 0) {
                body += '.';
                if (point < 0)
                    body.append(static_cast<size_t>(std::min(-point, p)), '0');
                body += digits.substr(static_cast<size_t>(std::max(point, 0)));
                const size_t dot = body.find('.');
                body.resize(dot + 1 + static_cast<size_t>(p), '0');
            }
        } else if (spec.letter == 'e') {
            body = digits.substr(0, 1);
            if (digits.size() > 1)
                body += "." + digits.substr(1);
            body += ExponentText(point - 1);
        } else if (zero) {
            body = "0";
        } else {
            const int exponent = point - 1;
            const bool exponentForm = exponent >= significant || exponent < -4;
            if (exponentForm) {
                if (digits.size() > 1)
                    digits.erase(std::max<size_t>(digits.find_last_not_of('0') + 1, 1));
                body = digits.substr(0, 1);
                if (digits.size() > 1)
                    body += "." + digits.substr(1);
                body += ExponentText(exponent);
            } else {
                if (digits.size() > 1 && static_cast<int>(digits.size()) != point) {
                    const size_t keep = std::max<size_t>(digits.find_last_not_of('0') + 1,
                                                         static_cast<size_t>(std::max(point, 1)));
                    digits.erase(std::min(keep, digits.size()));
                }
                if (point > 0) {
                    body = digits.substr(0, static_cast<size_t>(point));
                    if (digits.size() > static_cast<size_t>(point))
                        body += "." + digits.substr(static_cast<size_t>(point));
                } else {
                    body = "0." + std::string(static_cast<size_t>(-point), '0') + digits;
                }
            }
        }
    }
    std::string sign = negative ? "-" : "";
    std::string text = sign + body;
    if (static_cast<int>(text.size()) < spec.width) {
        const size_t pad = static_cast<size_t>(spec.width) - text.size();
        if (spec.flag == '-')
            text.append(pad, ' ');
        else if (spec.flag == '0')
            text = sign + std::string(pad, '0') + body; // zeros go between the sign and the digits
        else
            text.insert(0, pad, ' ');
    }
    return text;
}

// Integer, character and text conversions through the C library, with the flags the
// conversion text may hold ('-', '0', width, precision); false for a malformed text.
bool CleanSpec(const std::string& conv, std::string& clean)
{
    size_t i = 1;
    clean = "%";
    while (i < conv.size() && (conv[i] == '-' || conv[i] == '0'))
        clean += conv[i++];
    while (i < conv.size() && conv[i] >= '0' && conv[i] <= '9')
        clean += conv[i++];
    if (i < conv.size() && conv[i] == '.') {
        clean += conv[i++];
        while (i < conv.size() && conv[i] >= '0' && conv[i] <= '9')
            clean += conv[i++];
    }
    while (i < conv.size() && conv[i] == 'l')
        ++i; // 32-bit values on this platform: the size letter changes nothing
    if (i + 1 != conv.size())
        return false;
    // A width or precision beyond any sensible text is refused rather than padded out.
    for (size_t k = 1, run = 0; k < clean.size(); ++k) {
        run = (clean[k] >= '0' && clean[k] <= '9') ? run + 1 : 0;
        if (run > 4)
            return false;
    }
    clean += conv[i];
    return true;
}

template <typename T>
std::string CFormat(const std::string& spec, T value)
{
    const int n = std::snprintf(nullptr, 0, spec.c_str(), value);
    if (n <= 0)
        return std::string();
    std::string text(static_cast<size_t>(n) + 1, '\0');
    std::snprintf(&text[0], text.size(), spec.c_str(), value);
    text.resize(static_cast<size_t>(n));
    return text;
}

} // namespace

void FormatWithRealsV(char* out, size_t outSize, const char* format, va_list args)
{
    if (!out || outSize == 0)
        return;
    std::string result;
    const char* f = format ? format : "";
    while (*f) {
        if (*f != '%') {
            result += *f++;
            continue;
        }
        if (f[1] == '%') {
            result += '%';
            f += 2;
            continue;
        }
        std::string conv = "%";
        ++f;
        while (*f == '-' || *f == '.' || *f == '*' || *f == 'l' || (*f >= '0' && *f <= '9'))
            conv += *f++;
        const char letter = *f;
        const bool known = letter && std::strchr("doxXucsfeg", letter);
        if (!known) {
            // Not a conversion: its text stands as it is.
            result += conv;
            if (letter)
                result += *f++;
            continue;
        }
        ++f;
        for (size_t star; (star = conv.find('*')) != std::string::npos;)
            conv.replace(star, 1, std::to_string(va_arg(args, int)));
        const bool real = letter == 'f' || letter == 'e' || letter == 'g';
        if (real) {
            const double value = va_arg(args, double);
            RealSpec spec;
            if (ParseRealSpec(conv + letter, spec))
                result += FormatReal(spec, value);
            continue;
        }
        std::string spec;
        const bool valid = CleanSpec(conv + letter, spec);
        if (letter == 's') {
            const char* text = va_arg(args, const char*);
            if (valid)
                result += CFormat(spec, text ? text : "(null)");
        } else if (letter == 'c') {
            const int c = va_arg(args, int) & 0xFF;
            if (valid)
                result += CFormat(spec, c);
        } else if (letter == 'd') {
            const int v = va_arg(args, int);
            if (valid)
                result += CFormat(spec, v);
        } else {
            const unsigned v = va_arg(args, unsigned);
            if (valid)
                result += CFormat(spec, v);
        }
    }
    DbcsCopy(out, outSize, result.c_str());
}

void FormatWithReals(char* out, size_t outSize, const char* format, ...)
{
    va_list args;
    va_start(args, format);
    FormatWithRealsV(out, outSize, format, args);
    va_end(args);
}

// ---------------------------------------------------------------------------------------------
// FormatDouble, InsertThousandsSeparators

char* FormatDouble(char* out, size_t outSize, double value, int decimals, int trim)
{
    if (!out || outSize == 0)
        return out;
    // A negative count means the default of "%.*f", six decimals.
    const int places = decimals < 0 ? 6 : std::min(decimals, 340);
    std::string text = CFormat(std::string("%.") + std::to_string(places) + "f", value);
    if (trim && text.find('.') != std::string::npos) {
        while (!text.empty() && text.back() == '0')
            text.pop_back();
        if (!text.empty() && text.back() == '.')
            text.pop_back();
    }
    if (!text.empty() && text[0] == '-' && std::atof(text.c_str()) == 0.0)
        text.erase(0, 1);
    DbcsCopy(out, outSize, text.c_str());
    return out;
}

char* InsertThousandsSeparators(char* out, size_t outSize, const char* text)
{
    if (!out || outSize == 0)
        return out;
    std::string t = text ? text : "";
    const size_t first = t.find_first_not_of(' ');
    t = first == std::string::npos ? std::string() : t.substr(first, t.find_last_not_of(' ') - first + 1);

    const size_t dot = t.find('.');
    const std::string intPart = t.substr(0, dot);
    std::string result = t;
    if (!t.empty() && t[0] != '.' && intPart.size() >= 4) {
        std::string grouped;
        int digitsRight = 0;
        bool ok = true;
        for (size_t k = intPart.size(); k-- > 0;) {
            const char c = intPart[k];
            if (c >= '0' && c <= '9') {
                if (digitsRight > 0 && digitsRight % 3 == 0)
                    grouped.insert(grouped.begin(), ',');
                grouped.insert(grouped.begin(), c);
                ++digitsRight;
            } else if (k == 0) {
                grouped.insert(grouped.begin(), c);
            } else {
                ok = false;
                break;
            }
        }
        if (ok)
            result = grouped + (dot == std::string::npos ? std::string() : t.substr(dot));
    }
    DbcsCopy(out, outSize, result.c_str());
    return out;
}

// ---------------------------------------------------------------------------------------------
// Rounding

namespace {
double RoundToMultiple(double v, double step)
{
    const double q = v / step;
    const double n = std::floor(q + 0.5 + std::min(q * 2.220446049250313e-16, 0.05));
    return n * step;
}
} // namespace

double RoundToStep(double value, double outer, double inner)
{
    const bool negate = !(value >= inner);
    double m = RoundToMultiple(negate ? -value : value, inner);
    if (outer > inner)
        m = RoundToMultiple(m, outer);
    return negate ? -m : m;
}

double RoundToDecimals(double value, int decimals)
{
    double p = 1.0;
    double base = 10.0;
    for (unsigned e = static_cast<unsigned>(decimals < 0 ? -static_cast<long>(decimals) : decimals); e; e >>= 1) {
        if (e & 1)
            p *= base;
        base *= base;
    }
    if (decimals < 0)
        p = 1.0 / p;
    return RoundToStep(value, 1.0 / p, 1e-8);
}
