#include "model/page/references.h"

#include "platform/text.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <stdexcept>

namespace kestrova {
namespace {

struct NamedReference {
    std::string_view name;
    char16_t unit;
};

// The named character references of HTML 4.01, and `apos`.
constexpr NamedReference kReferences[] = {
    {"nbsp", 160},    {"iexcl", 161},    {"cent", 162},    {"pound", 163},   {"curren", 164},
    {"yen", 165},     {"brvbar", 166},   {"sect", 167},    {"uml", 168},     {"copy", 169},
    {"ordf", 170},    {"laquo", 171},    {"not", 172},     {"shy", 173},     {"reg", 174},
    {"macr", 175},    {"deg", 176},      {"plusmn", 177},  {"sup2", 178},    {"sup3", 179},
    {"acute", 180},   {"micro", 181},    {"para", 182},    {"middot", 183},  {"cedil", 184},
    {"sup1", 185},    {"ordm", 186},     {"raquo", 187},   {"frac14", 188},  {"frac12", 189},
    {"frac34", 190},  {"iquest", 191},   {"Agrave", 192},  {"Aacute", 193},  {"Acirc", 194},
    {"Atilde", 195},  {"Auml", 196},     {"Aring", 197},   {"AElig", 198},   {"Ccedil", 199},
    {"Egrave", 200},  {"Eacute", 201},   {"Ecirc", 202},   {"Euml", 203},    {"Igrave", 204},
    {"Iacute", 205},  {"Icirc", 206},    {"Iuml", 207},    {"ETH", 208},     {"Ntilde", 209},
    {"Ograve", 210},  {"Oacute", 211},   {"Ocirc", 212},   {"Otilde", 213},  {"Ouml", 214},
    {"times", 215},   {"Oslash", 216},   {"Ugrave", 217},  {"Uacute", 218},  {"Ucirc", 219},
    {"Uuml", 220},    {"Yacute", 221},   {"THORN", 222},   {"szlig", 223},   {"agrave", 224},
    {"aacute", 225},  {"acirc", 226},    {"atilde", 227},  {"auml", 228},    {"aring", 229},
    {"aelig", 230},   {"ccedil", 231},   {"egrave", 232},  {"eacute", 233},  {"ecirc", 234},
    {"euml", 235},    {"igrave", 236},   {"iacute", 237},  {"icirc", 238},   {"iuml", 239},
    {"eth", 240},     {"ntilde", 241},   {"ograve", 242},  {"oacute", 243},  {"ocirc", 244},
    {"otilde", 245},  {"ouml", 246},     {"divide", 247},  {"oslash", 248},  {"ugrave", 249},
    {"uacute", 250},  {"ucirc", 251},    {"uuml", 252},    {"yacute", 253},  {"thorn", 254},
    {"yuml", 255},    {"fnof", 402},     {"Alpha", 913},   {"Beta", 914},    {"Gamma", 915},
    {"Delta", 916},   {"Epsilon", 917},  {"Zeta", 918},    {"Eta", 919},     {"Theta", 920},
    {"Iota", 921},    {"Kappa", 922},    {"Lambda", 923},  {"Mu", 924},      {"Nu", 925},
    {"Xi", 926},      {"Omicron", 927},  {"Pi", 928},      {"Rho", 929},     {"Sigma", 931},
    {"Tau", 932},     {"Upsilon", 933},  {"Phi", 934},     {"Chi", 935},     {"Psi", 936},
    {"Omega", 937},   {"alpha", 945},    {"beta", 946},    {"gamma", 947},   {"delta", 948},
    {"epsilon", 949}, {"zeta", 950},     {"eta", 951},     {"theta", 952},   {"iota", 953},
    {"kappa", 954},   {"lambda", 955},   {"mu", 956},      {"nu", 957},      {"xi", 958},
    {"omicron", 959}, {"pi", 960},       {"rho", 961},     {"sigmaf", 962},  {"sigma", 963},
    {"tau", 964},     {"upsilon", 965},  {"phi", 966},     {"chi", 967},     {"psi", 968},
    {"omega", 969},   {"thetasym", 977}, {"upsih", 978},   {"piv", 982},     {"bull", 8226},
    {"hellip", 8230}, {"prime", 8242},   {"Prime", 8243},  {"oline", 8254},  {"frasl", 8260},
    {"weierp", 8472}, {"image", 8465},   {"real", 8476},   {"trade", 8482},  {"alefsym", 8501},
    {"larr", 8592},   {"uarr", 8593},    {"rarr", 8594},   {"darr", 8595},   {"harr", 8596},
    {"crarr", 8629},  {"lArr", 8656},    {"uArr", 8657},   {"rArr", 8658},   {"dArr", 8659},
    {"hArr", 8660},   {"forall", 8704},  {"part", 8706},   {"exist", 8707},  {"empty", 8709},
    {"nabla", 8711},  {"isin", 8712},    {"notin", 8713},  {"ni", 8715},     {"prod", 8719},
    {"sum", 8721},    {"minus", 8722},   {"lowast", 8727}, {"radic", 8730},  {"prop", 8733},
    {"infin", 8734},  {"ang", 8736},     {"and", 8743},    {"or", 8744},     {"cap", 8745},
    {"cup", 8746},    {"int", 8747},     {"there4", 8756}, {"sim", 8764},    {"cong", 8773},
    {"asymp", 8776},  {"ne", 8800},      {"equiv", 8801},  {"le", 8804},     {"ge", 8805},
    {"sub", 8834},    {"sup", 8835},     {"nsub", 8836},   {"sube", 8838},   {"supe", 8839},
    {"oplus", 8853},  {"otimes", 8855},  {"perp", 8869},   {"sdot", 8901},   {"lceil", 8968},
    {"rceil", 8969},  {"lfloor", 8970},  {"rfloor", 8971}, {"lang", 9001},   {"rang", 9002},
    {"loz", 9674},    {"spades", 9824},  {"clubs", 9827},  {"hearts", 9829}, {"diams", 9830},
    {"quot", 34},     {"amp", 38},       {"lt", 60},       {"gt", 62},       {"OElig", 338},
    {"oelig", 339},   {"Scaron", 352},   {"scaron", 353},  {"Yuml", 376},    {"circ", 710},
    {"tilde", 732},   {"ensp", 8194},    {"emsp", 8195},   {"thinsp", 8201}, {"zwnj", 8204},
    {"zwj", 8205},    {"lrm", 8206},     {"rlm", 8207},    {"ndash", 8211},  {"mdash", 8212},
    {"lsquo", 8216},  {"rsquo", 8217},   {"sbquo", 8218},  {"ldquo", 8220},  {"rdquo", 8221},
    {"bdquo", 8222},  {"dagger", 8224},  {"Dagger", 8225}, {"permil", 8240}, {"lsaquo", 8249},
    {"rsaquo", 8250}, {"euro", 8364},    {"apos", 39},
};

// The table sorted by name once, before any page is read; read-only afterwards.
const std::array<NamedReference, std::size(kReferences)>& SortedReferences() {
    static const auto sorted = [] {
        std::array<NamedReference, std::size(kReferences)> t{};
        std::copy(std::begin(kReferences), std::end(kReferences), t.begin());
        std::sort(t.begin(), t.end(), [](const auto& a, const auto& b) { return a.name < b.name; });
        return t;
    }();
    return sorted;
}
[[maybe_unused]] const auto& kSortedAtStart = SortedReferences();

int CompareName(std::string_view ascii, std::u16string_view name) {
    const size_t n = std::min(ascii.size(), name.size());
    for (size_t i = 0; i < n; ++i) {
        const char16_t a = static_cast<unsigned char>(ascii[i]);
        if (a != name[i]) return a < name[i] ? -1 : 1;
    }
    return ascii.size() == name.size() ? 0 : (ascii.size() < name.size() ? -1 : 1);
}

bool IsDigitOf(char16_t c, unsigned base, unsigned& digit) {
    if (c >= u'0' && c <= u'9')
        digit = c - u'0';
    else if (base == 16 && c >= u'a' && c <= u'f')
        digit = c - u'a' + 10;
    else if (base == 16 && c >= u'A' && c <= u'F')
        digit = c - u'A' + 10;
    else
        return false;
    return true;
}

// A numeric reference name (`#65`, `#x41`): its code point, 0 when it has no digits or is 0.
// Values past the last code point saturate there + 1 and become U+FFFD when appended.
uint32_t DecodeNumeric(std::u16string_view name) {
    const bool hex = name[1] == u'x' || name[1] == u'X';
    const unsigned base = hex ? 16 : 10;
    uint32_t value = 0;
    unsigned digit = 0;
    for (size_t i = hex ? 2 : 1; i < name.size() && IsDigitOf(name[i], base, digit); ++i) {
        value = std::min<uint32_t>(value * base + digit, 0x110000);
    }
    return value;
}

// The code point a reference name stands for, or 0 when it does not decode.
uint32_t DecodeName(std::u16string_view name) {
    if (name.size() >= 3 && name[0] == u'#') return DecodeNumeric(name);
    return LookupNamedReference(name);
}

// Appends one code point: a pair of surrogates past U+FFFF, U+FFFD past the last code point.
void AppendCodePoint(std::u16string& out, uint32_t cp) {
    if (cp <= 0xFFFF) {
        out.push_back(static_cast<char16_t>(cp));
    } else if (cp <= 0x10FFFF) {
        cp -= 0x10000;
        out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
        out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
    } else {
        out.push_back(u'\uFFFD');
    }
}

}  // namespace

char16_t LookupNamedReference(std::u16string_view name) {
    const auto& table = SortedReferences();
    const auto it = std::lower_bound(
        table.begin(), table.end(), name,
        [](const NamedReference& r, std::u16string_view n) { return CompareName(r.name, n) < 0; });
    return it != table.end() && CompareName(it->name, name) == 0 ? it->unit : 0;
}

size_t NamedReferenceCount() { return std::size(kReferences); }

std::u16string HtmlStringDecoder(std::u16string_view text) {
    enum class State { kPlain, kReference } state = State::kPlain;
    std::u16string out;
    out.reserve(text.size());
    size_t start = 0;  // position of the '&' of the reference being read
    for (size_t i = 0; i < text.size(); ++i) {
        const char16_t c = text[i];
        switch (state) {
            case State::kPlain:
                if (c == u'&') {
                    state = State::kReference;
                    start = i;
                } else {
                    out.push_back(c);
                }
                break;
            case State::kReference:
                if (c == u';') {
                    const uint32_t cp = DecodeName(text.substr(start + 1, i - start - 1));
                    if (cp)
                        AppendCodePoint(out, cp);
                    else
                        out.append(text.substr(start, i - start + 1));
                    state = State::kPlain;
                } else if (c != u'#' && !platform::IsAlphaNumeric(c)) {
                    out.append(text.substr(start, i - start));
                    state = State::kPlain;
                    --i;  // the code unit is read again in the plain state
                }
                break;
            default:
                throw std::runtime_error("something horrible happened in HtmlStringDecoder");
        }
    }
    if (state == State::kReference) out.append(text.substr(start));
    return out;
}

std::u16string DecodeReferences(std::u16string_view text) {
    if (text.empty() || text.find(u'&') == std::u16string_view::npos) return std::u16string(text);
    return HtmlStringDecoder(text);
}

}  // namespace kestrova
