#include "text.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>

namespace tarvok {

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// Parses the whole trimmed text as a number; on success writes the value.
bool parseNumber(std::string_view text, double* value) {
    std::string_view t = trimBlanks(text);
    if (t.empty()) return false;
    std::string normal;
    normal.reserve(t.size());
    std::size_t i = 0;
    if (t[i] == '+' || t[i] == '-') normal.push_back(t[i++]);
    int digits = 0;
    bool separator = false;
    for (; i < t.size(); ++i) {
        char c = t[i];
        if (isDigit(c)) {
            normal.push_back(c);
            ++digits;
        } else if ((c == ',' || c == '.') && !separator) {
            separator = true;
            normal.push_back('.');
        } else {
            break;
        }
    }
    if (digits == 0) return false;
    if (i < t.size() && (t[i] == 'e' || t[i] == 'E')) {
        normal.push_back('e');
        ++i;
        if (i < t.size() && (t[i] == '+' || t[i] == '-')) normal.push_back(t[i++]);
        int expDigits = 0;
        for (; i < t.size() && isDigit(t[i]); ++i) {
            normal.push_back(t[i]);
            ++expDigits;
        }
        if (expDigits == 0) return false;
    }
    if (i != t.size()) return false;
    errno = 0;
    char* end = nullptr;
    double v = std::strtod(normal.c_str(), &end);
    if (end != normal.c_str() + normal.size()) return false;
    if (!std::isfinite(v)) return false;
    if (value) *value = v;
    return true;
}

template <typename Int>
std::optional<Int> roundTo(double value) {
    if (!std::isfinite(value)) return std::nullopt;
    double r = std::nearbyint(value);  // default rounding mode: halves to even
    if (r < static_cast<double>(std::numeric_limits<Int>::min()) ||
        r > static_cast<double>(std::numeric_limits<Int>::max()))
        return std::nullopt;
    return static_cast<Int>(r);
}

}  // namespace

bool isNumeric(std::string_view text) { return parseNumber(text, nullptr); }

double numericValue(std::string_view text) {
    double v = 0.0;
    return parseNumber(text, &v) ? v : 0.0;
}

std::optional<std::int32_t> roundToInt32(double value) { return roundTo<std::int32_t>(value); }
std::optional<std::int16_t> roundToInt16(double value) { return roundTo<std::int16_t>(value); }

std::int32_t roundToInt32Clamped(double value) {
    if (std::isnan(value)) return 0;
    if (auto r = roundToInt32(value)) return *r;
    return value < 0 ? std::numeric_limits<std::int32_t>::min() : std::numeric_limits<std::int32_t>::max();
}

double integerPart(double value) { return std::floor(value); }

std::string decimalCommaText(double value) {
    if (!std::isfinite(value) || value == 0.0) return "0";
    // Round to 15 significant digits once, then place the decimal comma by
    // the exponent, so that no exponent is ever written.
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.14e", std::fabs(value));
    std::string digits;
    const char* p = buf;
    for (; *p && *p != 'e'; ++p)
        if (*p >= '0' && *p <= '9') digits.push_back(*p);
    int exponent = (*p == 'e') ? std::atoi(p + 1) : 0;
    while (digits.size() > 1 && digits.back() == '0') digits.pop_back();

    std::string s = value < 0 ? "-" : "";
    int intDigits = exponent + 1;  // digits before the comma
    if (intDigits <= 0) {
        s += "0,";
        s.append(static_cast<std::size_t>(-intDigits), '0');
        s += digits;
    } else if (static_cast<std::size_t>(intDigits) >= digits.size()) {
        s += digits;
        s.append(static_cast<std::size_t>(intDigits) - digits.size(), '0');
    } else {
        s += digits.substr(0, static_cast<std::size_t>(intDigits));
        s += ",";
        s += digits.substr(static_cast<std::size_t>(intDigits));
    }
    return s;
}

std::string integerText(long long value) { return std::to_string(value); }

std::string padLeft(std::string_view text, std::size_t width, char fill) {
    if (text.size() >= width) return std::string(text);
    return std::string(width - text.size(), fill) + std::string(text);
}

std::string padRightToWidth(std::string_view text, std::size_t width) {
    std::string s(text.substr(0, width));
    s.resize(width, ' ');
    return s;
}

std::string_view trimBlanks(std::string_view text) {
    while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
    return trimTrailingBlanks(text);
}

std::string_view trimTrailingBlanks(std::string_view text) {
    while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
    return text;
}

std::string upperAscii(std::string_view text) {
    std::string s(text);
    for (char& c : s)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return s;
}

std::string lowerCase(std::string_view text) {
    std::string s(text);
    for (char& c : s) {
        const auto b = static_cast<unsigned char>(c);
        unsigned char lower = b;
        if ((b >= 'A' && b <= 'Z') || (b >= 0xC0 && b <= 0xDE && b != 0xD7)) lower = b + 0x20;
        else if (b == 0x8A || b == 0x8C || b == 0x8E) lower = b + 0x10;  // Š Œ Ž
        else if (b == 0x9F) lower = 0xFF;                                // Ÿ
        c = static_cast<char>(lower);
    }
    return s;
}

}  // namespace tarvok

namespace tarvok {

namespace {
// Unicode code points of the bytes 0x80..0x9F in Windows-1252 (0 = unused).
constexpr char32_t kCp1252High[32] = {0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                      0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
                                      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                      0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

void appendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
}
}  // namespace

std::string cp1252ToUtf8(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size());
    for (char ch : bytes) {
        auto b = static_cast<unsigned char>(ch);
        char32_t cp = b;
        if (b >= 0x80 && b < 0xA0) cp = kCp1252High[b - 0x80] ? kCp1252High[b - 0x80] : U'?';
        appendUtf8(out, cp);
    }
    return out;
}

std::string utf8ToCp1252(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size();) {
        auto b = static_cast<unsigned char>(utf8[i]);
        char32_t cp;
        std::size_t len;
        if (b < 0x80) {
            cp = b;
            len = 1;
        } else if ((b & 0xE0) == 0xC0) {
            cp = b & 0x1F;
            len = 2;
        } else if ((b & 0xF0) == 0xE0) {
            cp = b & 0x0F;
            len = 3;
        } else if ((b & 0xF8) == 0xF0) {
            cp = b & 0x07;
            len = 4;
        } else {
            out.push_back('?');
            ++i;
            continue;
        }
        if (i + len > utf8.size()) {
            out.push_back('?');
            break;
        }
        bool valid = true;
        for (std::size_t k = 1; k < len; ++k) {
            auto c = static_cast<unsigned char>(utf8[i + k]);
            if ((c & 0xC0) != 0x80) {
                valid = false;
                break;
            }
            cp = (cp << 6) | (c & 0x3F);
        }
        if (!valid) {
            out.push_back('?');
            ++i;
            continue;
        }
        i += len;
        if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) {
            out.push_back(static_cast<char>(cp));
            continue;
        }
        char mapped = '?';
        for (int k = 0; k < 32; ++k)
            if (kCp1252High[k] == cp && cp != 0) mapped = static_cast<char>(0x80 + k);
        out.push_back(mapped);
    }
    return out;
}

}  // namespace tarvok
