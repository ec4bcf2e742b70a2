#include "FuzzCheck.h"
#include "app/NumberText.h"
#include "platform/AppError.h"

#include <QString>
#include <cmath>
#include <cstdint>
#include <fuzzer/FuzzedDataProvider.h>
#include <optional>

namespace {

// The value, or nothing when the rule reports an overflow.
std::optional<double> valueOf(const QString &text)
{
    try {
        const double value = NumberText::leadingValue(text);
        FUZZ_CHECK(std::isfinite(value), "leadingValue gave a value that is not finite");
        return value;
    } catch (const AppError &) {
        return std::nullopt;
    }
}

bool same(const std::optional<double> &a, const std::optional<double> &b)
{
    // 0 and -0 are the same radius.
    return a.has_value() == b.has_value() && (!a || *a == *b);
}

// Only ASCII digits, signs, points, E/D, &H/&O and hex letters can make a
// number: whatever follows the first other character cannot matter.
int firstForeign(const QString &text)
{
    for (int i = 0; i < text.size(); ++i)
        if (text[i].unicode() >= 128)
            return i;
    return -1;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzedDataProvider input(data, size);
    const auto blankAt = input.ConsumeIntegral<uint16_t>();
    const auto blank = input.PickValueInArray({u' ', u'\t', u'\n'});
    const QString text = QString::fromStdString(input.ConsumeRemainingBytesAsString());

    const std::optional<double> value = valueOf(text);

    // Reading stops at the first character that cannot continue a number.
    FUZZ_CHECK(same(value, valueOf(text + u'#')), "a character after the number changed it");
    // Blanks, tabs and line feeds anywhere are ignored.
    QString blanked = text;
    blanked.insert(blankAt % (text.size() + 1), QChar(blank));
    FUZZ_CHECK(same(value, valueOf(blanked)), "a blank inside the text changed its number");
    const int foreign = firstForeign(text);
    if (foreign >= 0)
        FUZZ_CHECK(same(value, valueOf(text.left(foreign))), "a non-ASCII character continued a number");

    if (value) {
        try {
            const float single = NumberText::toSingle(*value);
            FUZZ_CHECK(std::isfinite(single), "toSingle gave a value that is not finite");
        } catch (const AppError &) {
            FUZZ_CHECK(std::abs(*value) > 3.4e38, "toSingle refused a value within single precision");
        }
    }
    // The strict conversion has rules of its own; it must only never misbehave.
    try {
        NumberText::toInteger16(text);
    } catch (const AppError &) {
    }
    return 0;
}
