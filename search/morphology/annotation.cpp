#include "search/morphology/annotation.h"

#include "search/morphology/alphabet.h"

namespace kestrova {

std::string EncodeAnnotationDigits(std::uint32_t value) {
    const Alphabet& abc = Alphabet::Annotation();
    std::string digits;
    do {
        digits += static_cast<char>(abc.Symbol(static_cast<int>(value % kAnnotationBase)));
        value /= kAnnotationBase;
    } while (value != 0);
    return digits;
}

bool DecodeAnnotationDigits(std::string_view digits, std::uint32_t& value) {
    if (digits.empty() || digits.size() > kMaxAnnotationDigits) return false;
    const Alphabet& abc = Alphabet::Annotation();
    std::uint64_t sum = 0;
    std::uint64_t power = 1;
    for (char c : digits) {
        int index = abc.Index(static_cast<unsigned char>(c));
        if (index < 0) return false;
        sum += static_cast<std::uint64_t>(index) * power;
        power *= kAnnotationBase;
    }
    if (sum > UINT32_MAX) return false;
    value = static_cast<std::uint32_t>(sum);
    return true;
}

}  // namespace kestrova
