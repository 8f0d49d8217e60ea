// Text and number helpers shared by both programs.
//
// Texts are 8-bit Windows-1252 byte strings, exactly as the files and the
// settings string hold them. Every rule that calls a text "numeric" or asks
// for "the numeric value" of a text goes through isNumeric / numericValue;
// nothing else in the programs parses numbers.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tarvok {

// True when the text, blanks around it ignored, is a decimal number: an
// optional sign, digits with at most one decimal separator (the decimal
// comma, or a point) and an optional exponent ("E-05"). Empty text and a
// lone sign or separator are not numeric.
bool isNumeric(std::string_view text);

// The value of a numeric text; 0 for any text that is not numeric.
double numericValue(std::string_view text);

// Rounding to the nearest integer, halves to the even neighbour, into 32 and
// 16 bits (the conversions CLng and CInt). Empty when the value does not fit
// (or is not a number), so callers decide what an overflow means.
std::optional<std::int32_t> roundToInt32(double value);
std::optional<std::int16_t> roundToInt16(double value);

// Rounding to 32 bits that saturates at the type's limits instead of failing;
// NaN gives 0. For pixel arithmetic where an out-of-range value only has to
// stay out of range.
std::int32_t roundToInt32Clamped(double value);

// The integer part (Int): rounds down, so -2.5 gives -3.
double integerPart(double value);

// Decimal text of a number with a decimal comma and at most 15 significant
// digits, without trailing zeros and without exponent (52.0833333333333 ->
// "52,0833333333333", 5 -> "5", -0.5 -> "-0,5").
std::string decimalCommaText(double value);

// Plain decimal text of an integer, without leading zeros or blanks.
std::string integerText(long long value);

// The text padded on the left with `fill` to `width` characters; a longer
// text is returned unchanged.
std::string padLeft(std::string_view text, std::size_t width, char fill = '0');

// The text padded on the right with blanks to `width` characters and cut to
// that width (left-aligned fixed-width fields).
std::string padRightToWidth(std::string_view text, std::size_t width);

// Blanks removed from either end / the right end only.
std::string_view trimBlanks(std::string_view text);
std::string_view trimTrailingBlanks(std::string_view text);

// ASCII upper case; other bytes unchanged.
std::string upperAscii(std::string_view text);

// Lower case of Windows-1252 text: A to Z and the accented capitals
// (\xC0..\xDE but the multiplication sign, and the three with their small
// letter at \x9A, \x9C, \x9E, \xFF); other bytes unchanged.
std::string lowerCase(std::string_view text);

}  // namespace tarvok

namespace tarvok {

// Windows-1252 bytes to UTF-8 and back, for file names and window texts.
// Characters that Windows-1252 cannot hold become '?'.
std::string cp1252ToUtf8(std::string_view bytes);
std::string utf8ToCp1252(std::string_view utf8);

}  // namespace tarvok
