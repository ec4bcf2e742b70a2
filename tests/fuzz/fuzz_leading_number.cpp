// The leading-number rule on any text: it gives a finite number or reports an
// overflow, and the laws that define it hold whatever comes after the number.
// A plain decimal number it reads as the C library does, overflow included.
#include "app/NumberText.h"
#include "platform/AppError.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fuzzer/FuzzedDataProvider.h>
#include <optional>

#define CHECK(condition, what)                                                                     \
    if (!(condition))                                                                              \
        std::fprintf(stderr, "fuzz: %s\n", what), std::abort()

namespace {

// Nothing when the rule reports an overflow; 0 and -0 are one radius.
std::optional<double> valueOf(const QString &text)
{
    try {
        const double value = NumberText::leadingValue(text);
        CHECK(std::isfinite(value), "a value that is not finite");
        return value + 0.0;
    } catch (const AppError &) {
        return std::nullopt;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzedDataProvider input(data, size);
    const auto blankAt = input.ConsumeIntegral<uint16_t>();
    const auto blank = input.PickValueInArray({u' ', u'\t', u'\n'});
    const QString text = QString::fromStdString(input.ConsumeRemainingBytesAsString());
    const std::optional<double> value = valueOf(text);

    // strtod's own form less hex, infinity and NaN; no locale is set, so the point is '.'.
    const QByteArray plain =
        QString(text).remove(u' ').remove(u'\t').remove(u'\n').replace(QChar(u'D'), QChar(u'E'), Qt::CaseInsensitive).toLatin1();
    char *end = nullptr;
    errno = 0;
    const double expected = std::strtod(plain.constData(), &end);
    if (end == plain.constData() + plain.size() && std::strspn(plain.constData(), "+-.0123456789Ee") == size_t(plain.size()))
        CHECK(errno == ERANGE && std::abs(expected) == HUGE_VAL ? !value : value == expected,
              "a plain number read otherwise than by strtod");

    CHECK(value == valueOf(text + u'#'), "a character after the number changed it");
    QString blanked = text;
    blanked.insert(blankAt % (text.size() + 1), QChar(blank));
    CHECK(value == valueOf(blanked), "a blank inside the text changed its number");
    const auto foreign = std::find_if(text.begin(), text.end(), [](QChar c) { return c.unicode() >= 128; });
    CHECK(foreign == text.end() || value == valueOf(text.left(foreign - text.begin())),
          "a character beyond ASCII continued a number");
    try {
        CHECK(!value || std::isfinite(NumberText::toSingle(*value)), "a single that is not finite");
    } catch (const AppError &) {
        CHECK(std::abs(*value) > 3.4e38, "a value within single precision refused");
    }
    try { // the strict reading has rules of its own: it must only never misbehave
        NumberText::toInteger16(text);
    } catch (const AppError &) {
    }
    return 0;
}
