#pragma once

#include <QString>

#include <optional>

namespace puka {

/// Shortest decimal text of a 32-bit value to 7 significant digits: 75.5, 75, 74.85.
QString shortestText(float value);
/// Shortest decimal text of a 64-bit value to 15 significant digits.
QString shortestText(double value);

/// @p value with exactly @p decimals decimals, rounded half away from zero on its
/// shortest decimal text (65.35 gives 65.4), never "-0.0".
QString fixedText(float value, int decimals);
QString fixedText(double value, int decimals);

/// The display formats used by every panel.
namespace fmt {
QString kg(float value);      ///< "0.0Kg": 65.3Kg, -0.4Kg
QString one(float value);     ///< "0.0"
QString percent(float ratio); ///< "0.0%": the ratio times 100, 0.123 gives 12.3%
QString percent(double ratio);
QString kg3(double value);   ///< "0.000Kg"
QString grams(double value); ///< "0g"
} // namespace fmt

/// Reads a number field: a decimal number with "." as separator, blanks around it allowed.
/// Returns nothing for any other text, and for values that are not finite.
std::optional<double> parseNumber(const QString& text);

/// The leading number of a typed text, as a basic Val() reads it: blanks skipped, an
/// optional sign, digits with at most one point; 0 when the text does not begin with one.
double leadingNumber(const QString& text);

} // namespace puka
