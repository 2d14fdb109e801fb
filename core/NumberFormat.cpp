#include "NumberFormat.h"

#include <QLocale>
#include <QVarLengthArray>

#include <cmath>

namespace puka {
namespace {

QString withoutExponent(double value, int significant) {
    QString s = QString::number(value, 'g', significant);
    if (s.contains(QLatin1Char('e'))) {
        // Very large or small values: the same significant digits, written positionally.
        const QString e = QString::number(value, 'e', significant - 1); // "-1.234568e+30"
        const bool negative = e.startsWith(QLatin1Char('-'));
        const qsizetype ePos = e.indexOf(QLatin1Char('e'));
        QString digits = e.mid(negative ? 1 : 0, ePos - (negative ? 1 : 0)).remove(QLatin1Char('.'));
        const int exponent = e.mid(ePos + 1).toInt();
        while (digits.size() > 1 && digits.endsWith(QLatin1Char('0')))
            digits.chop(1);
        if (exponent >= 0) {
            if (digits.size() <= exponent + 1)
                s = digits + QString(exponent + 1 - digits.size(), QLatin1Char('0'));
            else
                s = digits.left(exponent + 1) + QLatin1Char('.') + digits.mid(exponent + 1);
        } else {
            s = QStringLiteral("0.") + QString(-exponent - 1, QLatin1Char('0')) + digits;
        }
        if (negative)
            s.prepend(QLatin1Char('-'));
    }
    if (s == QLatin1String("-0"))
        s = QStringLiteral("0");
    return s;
}

// Rounds a positional decimal text half away from zero to @p decimals decimals. Every list
// formats its numbers here, so the digits are worked on in one byte buffer and the text is
// made once.
QString roundText(const QString& text, int decimals) {
    if (text == QLatin1String("nan") || text.contains(QLatin1String("inf")))
        return text;
    const bool negative = text.startsWith(QLatin1Char('-'));
    const QStringView body = QStringView(text).mid(negative ? 1 : 0);
    const qsizetype dot = body.indexOf(QLatin1Char('.'));
    const QStringView intPart = dot < 0 ? body : body.left(dot);
    const QStringView frac = dot < 0 ? QStringView() : body.mid(dot + 1);
    // the digits of the integer part and of the kept decimals, with room for a carry in front
    QVarLengthArray<char, 64> digits;
    digits.append('0');
    for (const QChar c : intPart)
        digits.append(static_cast<char>(c.unicode()));
    for (qsizetype i = 0; i < decimals; ++i)
        digits.append(i < frac.size() ? static_cast<char>(frac[i].unicode()) : '0');
    if (frac.size() > decimals && frac[decimals] >= QLatin1Char('5')) {
        qsizetype i = digits.size() - 1;
        for (; digits[i] == '9'; --i)
            digits[i] = '0';
        ++digits[i];
    }
    const qsizetype intEnd = digits.size() - decimals;
    qsizetype first = 0;
    while (first + 1 < intEnd && digits[first] == '0')
        ++first;
    QVarLengthArray<char, 64> out;
    bool zero = true;
    for (qsizetype i = first; i < digits.size(); ++i) {
        if (i == intEnd)
            out.append('.');
        out.append(digits[i]);
        zero = zero && digits[i] == '0';
    }
    if (negative && !zero)
        out.insert(out.cbegin(), '-');
    return QString::fromLatin1(out.constData(), out.size());
}

} // namespace

QString shortestText(float value) {
    return withoutExponent(static_cast<double>(value), 7);
}
QString shortestText(double value) {
    return withoutExponent(value, 15);
}

QString fixedText(float value, int decimals) {
    return roundText(shortestText(value), decimals);
}
QString fixedText(double value, int decimals) {
    return roundText(shortestText(value), decimals);
}

namespace fmt {
QString kg(float value) {
    return fixedText(value, 1) + QStringLiteral("Kg");
}
QString one(float value) {
    return fixedText(value, 1);
}
QString percent(float ratio) {
    return fixedText(ratio * 100.0f, 1) + QLatin1Char('%');
}
QString percent(double ratio) {
    return fixedText(ratio * 100.0, 1) + QLatin1Char('%');
}
QString kg3(double value) {
    return fixedText(value, 3) + QStringLiteral("Kg");
}
QString grams(double value) {
    return fixedText(value, 0) + QLatin1Char('g');
}
} // namespace fmt

std::optional<double> parseNumber(const QString& text) {
    const QString t = text.trimmed();
    if (t.isEmpty())
        return std::nullopt;
    for (QChar c : t) {
        // only plain decimal notation: no "nan", "inf", hex or thousands separators
        if (!(c.isDigit() || c == QLatin1Char('.') || c == QLatin1Char('-') || c == QLatin1Char('+') ||
              c == QLatin1Char('e') || c == QLatin1Char('E')))
            return std::nullopt;
    }
    bool ok = false;
    const double v = QLocale::c().toDouble(t, &ok);
    if (!ok || !std::isfinite(v))
        return std::nullopt;
    return v;
}

double leadingNumber(const QString& text) {
    qsizetype i = 0;
    const qsizetype n = text.size();
    while (i < n && (text[i] == QLatin1Char(' ') || text[i] == QLatin1Char('\t')))
        ++i;
    const qsizetype start = i;
    if (i < n && (text[i] == QLatin1Char('-') || text[i] == QLatin1Char('+')))
        ++i;
    bool point = false;
    bool digit = false;
    while (i < n) {
        const QChar c = text[i];
        if (c >= QLatin1Char('0') && c <= QLatin1Char('9')) {
            digit = true;
        } else if (c == QLatin1Char('.') && !point) {
            point = true;
        } else {
            break;
        }
        ++i;
    }
    if (!digit)
        return 0.0;
    bool ok = false;
    const double v = QLocale::c().toDouble(text.mid(start, i - start), &ok);
    return ok && std::isfinite(v) ? v : 0.0;
}

} // namespace puka
