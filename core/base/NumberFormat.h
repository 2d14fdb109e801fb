#pragma once

#include <QString>
#include <QStringView>

#include <optional>

namespace puka {

class TextBuffer;

/// Shortest decimal text of a 32-bit value to 7 significant digits: 75.5, 75, 74.85.
QString shortestText(float value);
/// Shortest decimal text of a 64-bit value to 15 significant digits.
QString shortestText(double value);
/// The value of shortestText(@p value) as a 64-bit number: 65.35f gives 65.35, not 65.3499985.
double storedValue(float value);

/// @p value with exactly @p decimals decimals, rounded half away from zero on its
/// shortest decimal text (65.35 gives 65.4), never "-0.0".
QString fixedText(float value, int decimals, QStringView prefix = {}, QStringView suffix = {});
QString fixedText(double value, int decimals, QStringView prefix = {}, QStringView suffix = {});

/// The decimal text of @p value followed by @p suffix: 12 and "回目" give "12回目".
QString integerText(qint64 value, QStringView suffix = {});

/// Appends integerText(@p value, @p suffix) to @p out.
void appendInteger(TextBuffer* out, qint64 value, QStringView suffix = {});

/// integerText() for the row numbers of the lists (1, 2, 3...): the texts are kept per
/// thread and shared by every list that numbers its rows with the same suffix.
QString countText(qint64 value, QStringView suffix = {});

/// The display formats used by every panel.
namespace formats {
QString kg(float value);         ///< "0.0Kg": 65.3Kg, -0.4Kg
QString signedKg(float value);   ///< "+0.3Kg", "±0.0Kg", "-0.3Kg": the sign always shown
QString one(float value);        ///< "0.0"
QString onePercent(float value); ///< "0.0%" of a value already in percent: 23.45 gives 23.5%
QString percent(float ratio);    ///< "0.0%": the ratio times 100, 0.123 gives 12.3%
QString percent(double ratio);
QString kgThreeDecimals(double value); ///< "0.000Kg"
QString grams(double value);           ///< "0g"
} // namespace formats

/// Reads a number field: a decimal number with "." as separator, blanks around it allowed.
/// Returns nothing for any other text, and for values that are not finite.
std::optional<double> parseNumber(const QString& text);

/// The leading number of a typed text, as a basic Val() reads it: blanks skipped, an
/// optional sign, digits with at most one point; 0 when the text does not begin with one.
double leadingNumber(const QString& text);

} // namespace puka
