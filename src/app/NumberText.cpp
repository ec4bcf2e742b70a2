#include "NumberText.h"

#include "platform/AppError.h"

#include <QLocale>
#include <cfloat>
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
    if (i < s.size() && (s[i] == u'+' || s[i] == u'-'))
        ++i;
    const int intStart = i;
    i = skipDigits(s, i);
    bool digits = i > intStart;
    if (i < s.size() && s[i] == u'.') {
        const int fracStart = ++i;
        i = skipDigits(s, i);
        digits = digits || i > fracStart;
    }
    if (!digits)
        return 0;
    QString number = s.left(i);
    if (i < s.size() && (s[i].toUpper() == u'E' || s[i].toUpper() == u'D')) {
        int j = i + 1;
        if (j < s.size() && (s[j] == u'+' || s[j] == u'-'))
            ++j;
        const int expEnd = skipDigits(s, j);
        if (expEnd > j)
            number += u'e' + s.mid(i + 1, expEnd - i - 1);
    }
    bool ok = false;
    const double value = QLocale::c().toDouble(number, &ok);
    if (!ok || !std::isfinite(value))
        throw overflow();
    return value;
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
