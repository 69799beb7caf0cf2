#include "bench/kb_vocabulary.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace kestrova::bench {
namespace {

// Endings per case (nominative, genitive, dative, accusative, instrumental, prepositional),
// singular then plural.
using Endings = std::array<std::u16string_view, 12>;

enum Pattern { kMascHard, kMascVelar, kMascSoft, kFemA, kFemIya, kFemSoft, kNeutO, kNeutIe };

constexpr Endings kNounEndings[] = {
    {u"", u"а", u"у", u"", u"ом", u"е", u"ы", u"ов", u"ам", u"ы", u"ами", u"ах"},
    {u"", u"а", u"у", u"", u"ом", u"е", u"и", u"ов", u"ам", u"и", u"ами", u"ах"},
    {u"ь", u"я", u"ю", u"ь", u"ем", u"е", u"и", u"ей", u"ям", u"и", u"ями", u"ях"},
    {u"а", u"ы", u"е", u"у", u"ой", u"е", u"ы", u"", u"ам", u"ы", u"ами", u"ах"},
    {u"ия", u"ии", u"ии", u"ию", u"ией", u"ии", u"ии", u"ий", u"иям", u"ии", u"иями", u"иях"},
    {u"ь", u"и", u"и", u"ь", u"ью", u"и", u"и", u"ей", u"ям", u"и", u"ями", u"ях"},
    {u"о", u"а", u"у", u"о", u"ом", u"е", u"а", u"", u"ам", u"а", u"ами", u"ах"},
    {u"ие", u"ия", u"ию", u"ие", u"ием", u"ии", u"ия", u"ий", u"иям", u"ия", u"иями", u"иях"},
};

struct Noun {
    std::u16string_view stem;
    Pattern pattern;
    bool animate;
};

constexpr Noun kNouns[] = {
    {u"закон", kMascHard, false},       {u"договор", kMascHard, false},   {u"кодекс", kMascHard, false},
    {u"суд", kMascHard, false},         {u"отпуск", kMascVelar, false},   {u"штраф", kMascHard, false},
    {u"расчёт", kMascHard, false},      {u"документ", kMascHard, false},  {u"взнос", kMascHard, false},
    {u"орган", kMascHard, false},       {u"доход", kMascHard, false},     {u"объект", kMascHard, false},
    {u"период", kMascHard, false},      {u"реестр", kMascHard, false},    {u"контракт", kMascHard, false},
    {u"вычет", kMascHard, false},       {u"арендатор", kMascHard, true},  {u"налог", kMascVelar, false},
    {u"срок", kMascVelar, false},       {u"работник", kMascVelar, true},  {u"участник", kMascVelar, true},
    {u"налогоплательщик", kMascVelar, true}, {u"собственник", kMascVelar, true},
    {u"работодател", kMascSoft, true},  {u"заявител", kMascSoft, true},   {u"представител", kMascSoft, true},
    {u"получател", kMascSoft, true},    {u"руководител", kMascSoft, true},
    {u"норм", kFemA, false},            {u"сумм", kFemA, false},          {u"форм", kFemA, false},
    {u"систем", kFemA, false},          {u"выплат", kFemA, false},        {u"льгот", kFemA, false},
    {u"работ", kFemA, false},           {u"программ", kFemA, false},      {u"плат", kFemA, false},
    {u"пошлин", kFemA, false},          {u"процедур", kFemA, false},
    {u"организац", kFemIya, false},     {u"декларац", kFemIya, false},    {u"комисс", kFemIya, false},
    {u"инспекц", kFemIya, false},       {u"лиценз", kFemIya, false},      {u"категор", kFemIya, false},
    {u"территор", kFemIya, false},      {u"компенсац", kFemIya, false},   {u"гарант", kFemIya, false},
    {u"обязанност", kFemSoft, false},   {u"ответственност", kFemSoft, false},
    {u"деятельност", kFemSoft, false},  {u"собственност", kFemSoft, false},
    {u"стоимост", kFemSoft, false},     {u"отчётност", kFemSoft, false},  {u"должност", kFemSoft, false},
    {u"возможност", kFemSoft, false},
    {u"прав", kNeutO, false},           {u"имуществ", kNeutO, false},     {u"лиц", kNeutO, true},
    {u"средств", kNeutO, false},        {u"государств", kNeutO, false},   {u"правительств", kNeutO, false},
    {u"обязательств", kNeutO, false},
    {u"решен", kNeutIe, false},         {u"положен", kNeutIe, false},     {u"требован", kNeutIe, false},
    {u"заявлен", kNeutIe, false},       {u"постановлен", kNeutIe, false}, {u"соглашен", kNeutIe, false},
    {u"уведомлен", kNeutIe, false},     {u"нарушен", kNeutIe, false},     {u"предприят", kNeutIe, false},
    {u"основан", kNeutIe, false},       {u"исполнен", kNeutIe, false},    {u"начислен", kNeutIe, false},
    {u"взыскан", kNeutIe, false},
};

// Hard adjective endings per case: masculine, feminine, neuter, plural.
constexpr std::array<std::u16string_view, 6> kAdjectiveEndings[] = {
    {u"ый", u"ого", u"ому", u"ый", u"ым", u"ом"},
    {u"ая", u"ой", u"ой", u"ую", u"ой", u"ой"},
    {u"ое", u"ого", u"ому", u"ое", u"ым", u"ом"},
    {u"ые", u"ых", u"ым", u"ые", u"ыми", u"ых"},
};

constexpr std::u16string_view kAdjectives[] = {
    u"федеральн", u"государственн", u"обязательн", u"письменн", u"официальн", u"нормативн",
    u"социальн",  u"специальн",     u"муниципальн", u"финансов", u"бюджетн",  u"земельн",
    u"налогов",   u"уголовн",       u"административн", u"договорн", u"исполнительн", u"судебн",
    u"отдельн",   u"полн",          u"денежн",     u"установленн", u"указанн", u"очередн",
};

enum VerbForm { kInf, k3Sg, k3Pl, kPastM, kPastF, kPastN, kPastPl, kRefl3Sg, kRefl3Pl, kReflPastPl, kReflInf };
constexpr int kVerbForms = 11;

// Verbs in -ать/-ять (устанавливает) and in -овать (регулирует).
constexpr std::array<std::u16string_view, kVerbForms> kVerbEndings[] = {
    {u"ть", u"ет", u"ют", u"л", u"ла", u"ло", u"ли", u"ется", u"ются", u"лись", u"ться"},
    {u"овать", u"ует", u"уют", u"овал", u"овала", u"овало", u"овали", u"уется", u"уются", u"овались", u"оваться"},
};

struct Verb {
    std::u16string_view stem;
    int pattern;
};

constexpr Verb kVerbs[] = {
    {u"устанавлива", 0}, {u"рассматрива", 0}, {u"предусматрива", 0}, {u"обеспечива", 0}, {u"выполня", 0},
    {u"применя", 0},     {u"исполня", 0},     {u"представля", 0},    {u"осуществля", 0}, {u"определя", 0},
    {u"утвержда", 0},    {u"подтвержда", 0},  {u"уплачива", 0},      {u"начисля", 0},    {u"учитыва", 0},
    {u"указыва", 0},     {u"сохраня", 0},     {u"принима", 0},       {u"составля", 0},   {u"заполня", 0},
    {u"направля", 0},    {u"получа", 0},      {u"оформля", 0},       {u"облага", 0},     {u"проверя", 0},
    {u"регулир", 1},     {u"использ", 1},     {u"контролир", 1},     {u"гарантир", 1},   {u"действ", 1},
    {u"треб", 1},        {u"финансир", 1},    {u"компенсир", 1},     {u"регистрир", 1},  {u"планир", 1},
};

template <typename T, size_t N>
const T& Pick(KbRandom& random, const T (&items)[N]) {
    return items[random.Below(N)];
}

Gender GenderOf(Pattern p) {
    switch (p) {
        case kFemA: case kFemIya: case kFemSoft: return Gender::kFem;
        case kNeutO: case kNeutIe: return Gender::kNeut;
        default: return Gender::kMasc;
    }
}

std::u16string NounForm(const Noun& noun, Case c, bool plural) {
    Case used = c;
    // Animate nouns take the genitive for the accusative (in the singular only the masculine).
    if (c == Case::kAcc && noun.animate && (plural || GenderOf(noun.pattern) == Gender::kMasc)) used = Case::kGen;
    const size_t slot = static_cast<size_t>(used) + (plural ? 6 : 0);
    return std::u16string(noun.stem) + std::u16string(kNounEndings[noun.pattern][slot]);
}

std::u16string AdjectiveForm(std::u16string_view stem, Gender g, Case c, bool plural, bool animate) {
    const size_t row = plural ? 3 : static_cast<size_t>(g);
    Case used = c;
    if (c == Case::kAcc && animate && (plural || g == Gender::kMasc)) used = Case::kGen;
    return std::u16string(stem) + std::u16string(kAdjectiveEndings[row][static_cast<size_t>(used)]);
}

std::u16string VerbText(const Verb& verb, VerbForm form) {
    return std::u16string(verb.stem) + std::u16string(kVerbEndings[verb.pattern][form]);
}

VerbForm PastOf(const NounPhrase& subject) {
    if (subject.plural) return kPastPl;
    if (subject.gender == Gender::kFem) return kPastF;
    return subject.gender == Gender::kNeut ? kPastN : kPastM;
}

std::u16string Number(KbRandom& random) {
    std::u16string text;
    for (const char c : std::to_string(random.Below(90) + 1)) text.push_back(static_cast<char16_t>(c));
    return text;
}

NounPhrase Phrase(KbRandom& random, Case c) {
    return RandomNounPhrase(random, c, random.Below(3) == 0, random.Below(2) == 0);
}

}  // namespace

NounPhrase RandomNounPhrase(KbRandom& random, Case c, bool plural, bool withAdjective) {
    const Noun& noun = Pick(random, kNouns);
    NounPhrase phrase{u"", GenderOf(noun.pattern), plural};
    if (withAdjective) {
        phrase.text = AdjectiveForm(Pick(random, kAdjectives), phrase.gender, c, plural, noun.animate) + u" ";
    }
    phrase.text += NounForm(noun, c, plural);
    return phrase;
}

std::u16string RandomSentence(KbRandom& random) {
    const NounPhrase subject = Phrase(random, Case::kNom);
    const Verb& verb = Pick(random, kVerbs);
    const VerbForm present = subject.plural ? k3Pl : k3Sg;
    const VerbForm reflexive = subject.plural ? kRefl3Pl : kRefl3Sg;
    std::u16string s;
    switch (random.Below(8)) {
        case 0:
            s = subject.text + u" " + VerbText(verb, present) + u" " + Phrase(random, Case::kAcc).text + u" " +
                Phrase(random, Case::kGen).text;
            break;
        case 1:
            s = subject.text + u" " + VerbText(verb, reflexive) + u" в соответствии с " +
                Phrase(random, Case::kIns).text;
            break;
        case 2:
            s = u"в случае " + Phrase(random, Case::kGen).text + u" " + subject.text + u" " + VerbText(verb, present) +
                u" " + Phrase(random, Case::kAcc).text + u" не позднее " + Number(random) + u" дней";
            break;
        case 3:
            s = subject.text + u" " + VerbText(verb, PastOf(subject)) + u" " + Phrase(random, Case::kAcc).text +
                u" для " + RandomNounPhrase(random, Case::kGen, true, true).text;
            break;
        case 4:
            s = u"по " + Phrase(random, Case::kDat).text + u" " + Phrase(random, Case::kGen).text + u" " +
                VerbText(verb, reflexive) + u" " + subject.text;
            break;
        case 5:
            s = subject.text + u" " + VerbText(verb, subject.plural ? kReflPastPl : PastOf(subject)) + u" при " +
                Phrase(random, Case::kPrep).text + u" согласно статье " + Number(random);
            break;
        case 6:
            s = u"положения настоящей статьи " + VerbText(verb, kRefl3Pl) + u" к " +
                RandomNounPhrase(random, Case::kDat, true, true).text + u", если иное не установлено " +
                Phrase(random, Case::kIns).text;
            break;
        default:
            s = u"для целей " + RandomNounPhrase(random, Case::kGen, true, false).text + u" " + subject.text +
                u" вправе " + VerbText(verb, random.Below(2) ? kInf : kReflInf) + u" " +
                Phrase(random, Case::kAcc).text + u" в " + Phrase(random, Case::kPrep).text;
            break;
    }
    return Capitalised(std::move(s)) + u".";
}

std::vector<std::u16string> AllWordForms() {
    std::vector<std::u16string> forms;
    for (const Noun& noun : kNouns) {
        for (int c = 0; c < 6; ++c) {
            forms.push_back(NounForm(noun, static_cast<Case>(c), false));
            forms.push_back(NounForm(noun, static_cast<Case>(c), true));
        }
    }
    for (const std::u16string_view stem : kAdjectives) {
        for (int c = 0; c < 6; ++c) {
            for (int g = 0; g < 3; ++g) forms.push_back(AdjectiveForm(stem, static_cast<Gender>(g), static_cast<Case>(c), false, false));
            forms.push_back(AdjectiveForm(stem, Gender::kMasc, static_cast<Case>(c), true, false));
        }
    }
    for (const Verb& verb : kVerbs) {
        for (int f = 0; f < kVerbForms; ++f) forms.push_back(VerbText(verb, static_cast<VerbForm>(f)));
    }
    std::sort(forms.begin(), forms.end());
    forms.erase(std::unique(forms.begin(), forms.end()), forms.end());
    return forms;
}

std::u16string Capitalised(std::u16string text) {
    if (text.empty()) return text;
    char16_t& c = text[0];
    if (c >= u'а' && c <= u'я') c = static_cast<char16_t>(c - 0x20);
    else if (c == u'ё') c = u'Ё';
    else if (c >= u'a' && c <= u'z') c = static_cast<char16_t>(c - 0x20);
    return text;
}

}  // namespace kestrova::bench
