#pragma once
// Number texts that never depend on the process locale: the fixed C formats
// always write ".", and numbers are read by strtod's decimal rules whatever
// LC_NUMERIC says.

#include <cstdint>
#include <string>
#include <string_view>

// strtod's decimal rules: leading white space, optional sign, digits with an
// optional "." and fraction, optional exponent. Hexadecimal, "inf" and "nan"
// are no number. No number at all gives 0. *used (if given) receives the
// count of characters that formed the number (0 when there was none).
double ReadNumber(std::string_view text, std::size_t* used = nullptr);

// Truncation toward zero to a 32-bit integer; values beyond the range clamp
// to it and NaN gives 0.
std::int32_t TruncToInt32(double value);

// printf("%<width>.<decimals>f") with a point as decimal separator.
std::string FormatFixed(double value, int decimals, int width = 0);

// printf("%<width>d").
std::string FormatInt(long long value, int width = 0);

// The shortest decimal text with at most 15 significant digits; whole numbers
// have no decimal part; exponent form ("1.5E-6", "1E15") only for very large
// or very small values. Writes "." as decimal separator.
std::string GeneralNumberTextC(double value);
