// How fields are read: LeadingNumber agrees with the C library's strtod in the C locale on the texts both read
// (sign, digits, point, digits, "e" exponent, anything after): the same value, or both beyond the doubles the same
// way. White space (the blanks LeadingNumber skips anywhere, the others strtod skips in front) and "d" exponents,
// which only LeadingNumber takes, are left out of the comparison.
#include "common/Numbers.h"
#include "fuzz/FuzzCheck.h"

#include <clocale>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <locale.h>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const locale_t c = newlocale(LC_ALL_MASK, "C", nullptr);
    std::string text(reinterpret_cast<const char*>(data), size);
    for (char& ch : text) {
        if (std::isspace(static_cast<unsigned char>(ch)) || ch == 'd' || ch == 'D' || ch == '\0' || (ch & 0x80))
            ch = 'x';
    }
    // strtod takes hexadecimal, "inf" and "nan" as well: not the field rule's business.
    const size_t start = text.find_first_not_of("+-");
    if (start != std::string::npos && (text.compare(start, 2, "0x") == 0 || text.compare(start, 2, "0X") == 0 ||
                                       std::isalpha(static_cast<unsigned char>(text[start]))))
        return 0;
    const double ours = LeadingNumber(QString::fromLatin1(text.data(), qsizetype(text.size())));
    char* end = nullptr;
    const double theirs = strtod_l(text.c_str(), &end, c);
    if (end == text.c_str()) {
        FUZZ_CHECK(ours == 0.0);
        return 0;
    }
    FUZZ_CHECK(ours == theirs || (std::isinf(ours) && ours == theirs) || (ours == 0.0 && theirs == 0.0) ||
               std::abs(ours - theirs) <= std::abs(theirs) * 1e-15);
    return 0;
}
