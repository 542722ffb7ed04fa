#include "common/Numbers.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <limits>

namespace {

bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

double ReadNumber(std::string_view text, std::size_t* used)
{
    if (used)
        *used = 0;
    std::size_t i = 0;
    const std::size_t n = text.size();
    while (i < n && IsBlank(text[i]))
        ++i;
    bool negative = false;
    if (i < n && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    const std::size_t mantissaStart = i;
    std::size_t digits = 0;
    while (i < n && IsDigit(text[i])) {
        ++i;
        ++digits;
    }
    if (i < n && text[i] == '.') {
        ++i;
        while (i < n && IsDigit(text[i])) {
            ++i;
            ++digits;
        }
    }
    if (digits == 0)
        return 0.0;
    std::size_t end = i;
    if (i < n && (text[i] == 'e' || text[i] == 'E')) {
        std::size_t j = i + 1;
        if (j < n && (text[j] == '+' || text[j] == '-'))
            ++j;
        if (j < n && IsDigit(text[j])) {
            while (j < n && IsDigit(text[j]))
                ++j;
            end = j;
        }
    }
    // from_chars takes no leading "+" and no leading blanks; the sign is ours.
    std::string_view body = text.substr(mantissaStart, end - mantissaStart);
    double value = 0.0;
    const auto result = std::from_chars(body.data(), body.data() + body.size(), value, std::chars_format::general);
    if (result.ec == std::errc::result_out_of_range) {
        // Like strtod: overflow gives infinity, underflow gives zero.
        const auto e = body.find_first_of("eE");
        const bool tiny = e != std::string_view::npos && e + 1 < body.size() && body[e + 1] == '-';
        value = tiny ? 0.0 : std::numeric_limits<double>::infinity();
    }
    if (used)
        *used = end;
    return negative ? -value : value;
}

std::int32_t TruncToInt32(double value)
{
    if (std::isnan(value))
        return 0;
    if (value >= 2147483647.0)
        return std::numeric_limits<std::int32_t>::max();
    if (value <= -2147483648.0)
        return std::numeric_limits<std::int32_t>::min();
    return static_cast<std::int32_t>(value);
}

namespace {

std::string PadLeft(std::string s, int width)
{
    if (width > 0 && static_cast<int>(s.size()) < width)
        s.insert(0, static_cast<std::size_t>(width) - s.size(), ' ');
    return s;
}

}  // namespace

std::string FormatFixed(double value, int decimals, int width)
{
    if (std::isnan(value))
        return PadLeft(std::signbit(value) ? "-nan" : "nan", width);
    if (std::isinf(value))
        return PadLeft(value < 0 ? "-inf" : "inf", width);
    char buffer[400];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals);
    return PadLeft(std::string(buffer, result.ptr), width);
}

std::string FormatInt(long long value, int width)
{
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return PadLeft(std::string(buffer, result.ptr), width);
}

std::string GeneralNumberTextC(double value)
{
    if (std::isnan(value))
        return "NAN";
    if (std::isinf(value))
        return value < 0 ? "-INF" : "INF";
    if (value == 0.0)
        return "0";

    // Fifteen significant digits, correctly rounded: d.dddddddddddddde±x.
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific, 14);
    std::string_view sci(buffer, static_cast<std::size_t>(result.ptr - buffer));
    const bool negative = sci.front() == '-';
    if (negative)
        sci.remove_prefix(1);
    const std::size_t ePos = sci.find('e');
    const int exponent = std::atoi(std::string(sci.substr(ePos + 1)).c_str());
    std::string digits;
    for (char c : sci.substr(0, ePos))
        if (IsDigit(c))
            digits += c;
    while (digits.size() > 1 && digits.back() == '0')
        digits.pop_back();

    std::string out = negative ? "-" : "";
    if (exponent >= 15 || exponent < -5) {
        out += digits[0];
        if (digits.size() > 1) {
            out += '.';
            out += digits.substr(1);
        }
        out += 'E';
        if (exponent < 0)
            out += '-';
        out += std::to_string(std::abs(exponent));
    } else if (exponent < 0) {
        out += "0.";
        out.append(static_cast<std::size_t>(-exponent - 1), '0');
        out += digits;
    } else {
        const std::size_t intDigits = static_cast<std::size_t>(exponent) + 1;
        if (digits.size() <= intDigits) {
            out += digits;
            out.append(intDigits - digits.size(), '0');
        } else {
            out += digits.substr(0, intDigits);
            out += '.';
            out += digits.substr(intDigits);
        }
    }
    return out;
}
