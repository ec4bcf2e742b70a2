#include "NumberText.h"

#include "platform/AppError.h"

#include <QLocale>
#include <cfloat>
#include <algorithm>
#include <cmath>
#include <limits>

namespace NumberText {

namespace {

AppError overflow()
{
    return AppError(QStringLiteral("Overflow: il numero è troppo grande."));
}

bool ignored(QChar c)
{
    return c == u' ' || c == u'\t' || c == u'\n';
}

QString withoutBlanks(const QString &text)
{
    QString kept;
    kept.reserve(text.size());
    for (QChar c : text)
        if (!ignored(c))
            kept += c;
    return kept;
}

// ASCII alone: other scripts' digits do not continue a number.
int digitValue(QChar c, int base)
{
    const char16_t u = c.unicode(), lower = u | 0x20;
    const int v = u >= u'0' && u <= u'9' ? u - u'0' : lower >= u'a' && lower <= u'f' ? lower - u'a' + 10 : 99;
    return v < base ? v : -1;
}

// &H and &O integers take the width of an Integer when they fit in 16 bits,
// else of a Long, both two's complement.
double radixValue(const QString &s, int from, int base)
{
    quint64 value = 0;
    for (int i = from; i < s.size(); ++i) {
        const int d = digitValue(s[i], base);
        if (d < 0)
            break;
        value = value * quint64(base) + quint64(d);
        if (value > 0xFFFFFFFFu)
            throw overflow();
    }
    if (value <= 0xFFFF)
        return double(qint16(quint16(value)));
    return double(qint32(quint32(value)));
}

int skipDigits(const QString &s, int i)
{
    while (i < s.size() && s[i].isDigit() && s[i].unicode() < 128)
        ++i;
    return i;
}

// The digits after an E or D, with their sign; 0 when no digit follows.
// Saturates long before any sum with a text's length could overflow.
long long exponentValue(const QString &s, int i)
{
    const bool negative = i < s.size() && s[i] == u'-';
    if (i < s.size() && (s[i] == u'+' || s[i] == u'-'))
        ++i;
    long long value = 0;
    for (; i < s.size() && s[i].unicode() >= '0' && s[i].unicode() <= '9'; ++i)
        value = std::min(value * 10 + (s[i].unicode() - '0'), 1'000'000'000LL);
    return negative ? -value : value;
}

// mantissa x 10^exponent. Converting costs the same however long the text:
// the magnitude is judged from the digit count, and digits past the 800th
// (no double, nor a tie between two, needs more) become one digit, 1 if any
// of them is not 0, so that they still tip a tie the way they should.
double decimalValue(bool negative, QString mantissa, long long exponent)
{
    constexpr int significant = 800;
    int lead = 0;
    while (lead < mantissa.size() && mantissa[lead] == u'0')
        ++lead;
    mantissa.remove(0, lead);
    if (mantissa.isEmpty())
        return negative ? -0.0 : 0.0;
    // The value lies in [10^(magnitude-1), 10^magnitude).
    const long long magnitude = mantissa.size() + exponent;
    if (magnitude > 309)
        throw overflow();
    if (magnitude < -330)
        return negative ? -0.0 : 0.0;
    if (mantissa.size() > significant) {
        const bool rest = std::any_of(mantissa.cbegin() + significant, mantissa.cend(), [](QChar c) { return c != u'0'; });
        exponent += mantissa.size() - significant - 1;
        mantissa.truncate(significant);
        mantissa += rest ? u'1' : u'0';
    }
    const QString number = (negative ? QStringLiteral("-") : QString()) + mantissa + u'e' + QString::number(exponent);
    bool ok = false;
    const double value = QLocale::c().toDouble(number, &ok);
    // Qt refuses both ends; at the small one the nearest double is 0.
    if (!ok && magnitude < 0)
        return negative ? -0.0 : 0.0;
    if (!ok || !std::isfinite(value))
        throw overflow();
    return value;
}

} // namespace

double leadingValue(const QString &text)
{
    const QString s = withoutBlanks(text);
    if (s.size() >= 2 && s[0] == u'&') {
        const QChar kind = s[1].toUpper();
        if (kind == u'H')
            return radixValue(s, 2, 16);
        if (kind == u'O')
            return radixValue(s, 2, 8);
        return 0;
    }
    int i = 0;
    const bool negative = i < s.size() && s[i] == u'-';
    if (i < s.size() && (s[i] == u'+' || s[i] == u'-'))
        ++i;
    const int intStart = i;
    i = skipDigits(s, i);
    QString mantissa = s.mid(intStart, i - intStart);
    long long exponent = 0;
    if (i < s.size() && s[i] == u'.') {
        const int fracStart = ++i;
        i = skipDigits(s, i);
        mantissa += s.mid(fracStart, i - fracStart);
        exponent -= i - fracStart;
    }
    if (mantissa.isEmpty())
        return 0;
    if (i < s.size() && (s[i].toUpper() == u'E' || s[i].toUpper() == u'D'))
        exponent += exponentValue(s, i + 1);
    return decimalValue(negative, mantissa, exponent);
}

qint16 toInteger16(const QString &text)
{
    bool ok = false;
    const double value = QLocale::c().toDouble(text.trimmed(), &ok);
    // QLocale reads "nan" and "inf" as numbers; they are words here.
    if (!ok || !std::isfinite(value))
        throw AppError(QStringLiteral("Tipo non corrispondente: \"%1\" non è un numero.").arg(text));
    const double rounded = std::nearbyint(value);
    if (rounded < std::numeric_limits<qint16>::min() || rounded > std::numeric_limits<qint16>::max())
        throw overflow();
    return qint16(rounded);
}

float toSingle(double value)
{
    if (std::abs(value) > double(FLT_MAX))
        throw overflow();
    return float(value);
}

} // namespace NumberText
