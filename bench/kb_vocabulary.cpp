#include "bench/kb_vocabulary.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace kestrova::bench {
namespace {

// Endings per case (nominative, genitive, dative, accusative, instrumental, prepositional),
// singular then plural.
using Endings = std::array<std::u16string_view, 12>;

enum Pattern {
    kMascHard,
    kMascVelar,
    kMascSoft,
    kFemA,
    kFemVelar,
    kFemIya,
    kFemSoft,
    kNeutO,
    kNeutIe,
    kPatterns
};

constexpr Endings kNounEndings[kPatterns] = {
    {u"", u"а", u"у", u"", u"ом", u"е", u"ы", u"ов", u"ам", u"ы", u"ами", u"ах"},
    {u"", u"а", u"у", u"", u"ом", u"е", u"и", u"ов", u"ам", u"и", u"ами", u"ах"},
    {u"ь", u"я", u"ю", u"ь", u"ем", u"е", u"и", u"ей", u"ям", u"и", u"ями", u"ях"},
    {u"а", u"ы", u"е", u"у", u"ой", u"е", u"ы", u"", u"ам", u"ы", u"ами", u"ах"},
    {u"а", u"и", u"е", u"у", u"ой", u"е", u"и", u"", u"ам", u"и", u"ами", u"ах"},
    {u"ия", u"ии", u"ии", u"ию", u"ией", u"ии", u"ии", u"ий", u"иям", u"ии", u"иями", u"иях"},
    {u"ь", u"и", u"и", u"ь", u"ью", u"и", u"и", u"ей", u"ям", u"и", u"ями", u"ях"},
    {u"о", u"а", u"у", u"о", u"ом", u"е", u"а", u"", u"ам", u"а", u"ами", u"ах"},
    {u"ие", u"ия", u"ию", u"ие", u"ием", u"ии", u"ия", u"ий", u"иям", u"ия", u"иями", u"иях"},
};

// The word list: dictionary forms by declension pattern, the more frequent first within each
// list. Only words that follow their pattern exactly (no fleeting vowels, no irregular plurals).
struct NounList {
    Pattern pattern;
    bool animate;
    std::initializer_list<std::u16string_view> words;
};

const NounList kNounLists[] = {
    {kMascHard,
     false,
     {u"закон",      u"договор",    u"документ", u"кодекс",      u"суд",       u"штраф",
      u"расчёт",     u"взнос",      u"орган",    u"доход",       u"объект",    u"период",
      u"реестр",     u"контракт",   u"вычет",    u"акт",         u"бюджет",    u"баланс",
      u"кредит",     u"процент",    u"тариф",    u"регламент",   u"стандарт",  u"проект",
      u"приказ",     u"указ",       u"аудит",    u"спор",        u"протокол",  u"журнал",
      u"архив",      u"отдел",      u"совет",    u"фонд",        u"капитал",   u"актив",
      u"инструмент", u"механизм",   u"метод",    u"анализ",      u"результат", u"режим",
      u"лимит",      u"норматив",   u"товар",    u"продукт",     u"материал",  u"ресурс",
      u"транспорт",  u"маршрут",    u"объём",    u"вклад",       u"экспорт",   u"импорт",
      u"патент",     u"сертификат", u"запрос",   u"ответ",       u"вопрос",    u"элемент",
      u"субъект",    u"институт",   u"комитет",  u"департамент", u"комплекс",  u"процесс",
      u"статус",     u"индекс",     u"план",     u"регион",      u"район",     u"депозит",
      u"интерес"}},
    {kMascVelar,
     false,
     {u"налог", u"срок", u"иск", u"залог", u"риск", u"итог", u"банк", u"рейтинг", u"бланк",
      u"признак", u"график", u"округ", u"каталог"}},
    {kMascHard,
     true,
     {u"арендатор", u"инспектор", u"депутат", u"кандидат", u"специалист", u"эксперт", u"аудитор",
      u"адвокат", u"нотариус", u"пенсионер", u"инвестор", u"кредитор"}},
    {kMascVelar,
     true,
     {u"налогоплательщик", u"работник", u"участник", u"собственник", u"должник", u"поставщик",
      u"заказчик", u"наследник"}},
    {kMascSoft,
     true,
     {u"работодатель", u"заявитель", u"представитель", u"получатель", u"руководитель",
      u"страхователь", u"покупатель", u"потребитель", u"пользователь", u"производитель",
      u"исполнитель"}},
    {kMascSoft, false, {u"показатель"}},
    {kFemA, false, {u"норма",     u"сумма",    u"форма",     u"система",    u"выплата",
                    u"льгота",    u"работа",   u"программа", u"плата",      u"пошлина",
                    u"процедура", u"смета",    u"схема",     u"жалоба",     u"цена",
                    u"зарплата",  u"валюта",   u"структура", u"палата",     u"квота",
                    u"мера",      u"проблема", u"тема",      u"экспертиза", u"температура",
                    u"страна",    u"школа",    u"литература"}},
    {kFemVelar,
     false,
     {u"услуга", u"практика", u"методика", u"техника", u"политика", u"статистика", u"книга",
      u"строка"}},
    {kFemIya,
     false,
     {u"организация", u"декларация", u"комиссия",      u"инспекция",    u"лицензия",
      u"категория",   u"территория", u"компенсация",   u"гарантия",     u"пенсия",
      u"премия",      u"продукция",  u"операция",      u"информация",   u"документация",
      u"регистрация", u"ликвидация", u"реорганизация", u"субсидия",     u"дотация",
      u"инвестиция",  u"апелляция",  u"санкция",       u"позиция",      u"функция",
      u"редакция",    u"стратегия",  u"технология",    u"консультация", u"конституция",
      u"федерация",   u"корпорация", u"ассоциация",    u"концессия",    u"сессия"}},
    {kFemSoft,
     false,
     {u"обязанность",
      u"ответственность",
      u"деятельность",
      u"собственность",
      u"стоимость",
      u"отчётность",
      u"должность",
      u"возможность",
      u"прибыль",
      u"недвижимость",
      u"область",
      u"необходимость",
      u"задолженность",
      u"численность",
      u"безопасность",
      u"производительность",
      u"доходность",
      u"ликвидность",
      u"занятость",
      u"продолжительность",
      u"надёжность",
      u"законность",
      u"подсудность",
      u"дееспособность",
      u"правоспособность",
      u"ценность",
      u"деталь",
      u"модель",
      u"цель",
      u"роль",
      u"мощность",
      u"прочность",
      u"плотность",
      u"влажность"}},
    {kNeutO,
     false,
     {u"право",
      u"имущество",
      u"средство",
      u"государство",
      u"правительство",
      u"обязательство",
      u"производство",
      u"строительство",
      u"хозяйство",
      u"количество",
      u"качество",
      u"свойство",
      u"устройство",
      u"общество",
      u"сотрудничество",
      u"руководство",
      u"законодательство",
      u"предпринимательство",
      u"делопроизводство",
      u"место",
      u"дело",
      u"слово"}},
    {kNeutO, true, {u"лицо"}},
    {kNeutIe,
     false,
     {u"решение",      u"положение",     u"требование",     u"заявление",     u"постановление",
      u"соглашение",   u"уведомление",   u"нарушение",      u"предприятие",   u"основание",
      u"исполнение",   u"начисление",    u"взыскание",      u"получение",     u"изменение",
      u"дополнение",   u"применение",    u"использование",  u"обеспечение",   u"заключение",
      u"учреждение",   u"управление",    u"назначение",     u"определение",   u"разрешение",
      u"ограничение",  u"освобождение",  u"возмещение",     u"удержание",     u"расторжение",
      u"прекращение",  u"выполнение",    u"содержание",     u"оборудование",  u"сооружение",
      u"помещение",    u"здание",        u"задание",        u"значение",      u"отношение",
      u"условие",      u"событие",       u"действие",       u"приложение",    u"подразделение",
      u"распоряжение", u"заседание",     u"совещание",      u"обращение",     u"рассмотрение",
      u"обжалование",  u"представление", u"предоставление", u"исследование",  u"испытание",
      u"измерение",    u"напряжение",    u"давление",       u"сопротивление", u"соединение",
      u"покрытие",     u"отверстие",     u"крепление",      u"охлаждение",    u"отопление",
      u"освещение"}},
};

struct Noun {
    std::u16string stem;
    Pattern pattern;
    bool animate;
};

// Adjectives: hard (федеральный), stressed (трудовой) and after к, г, х (гражданский); endings
// per case for masculine, feminine, neuter, plural.
enum AdjectivePattern { kAdjHard, kAdjStressed, kAdjVelar };

using AdjectiveEndings = std::array<std::array<std::u16string_view, 6>, 4>;
constexpr AdjectiveEndings kAdjectiveEndings[] = {
    {{{u"ый", u"ого", u"ому", u"ый", u"ым", u"ом"},
      {u"ая", u"ой", u"ой", u"ую", u"ой", u"ой"},
      {u"ое", u"ого", u"ому", u"ое", u"ым", u"ом"},
      {u"ые", u"ых", u"ым", u"ые", u"ыми", u"ых"}}},
    {{{u"ой", u"ого", u"ому", u"ой", u"ым", u"ом"},
      {u"ая", u"ой", u"ой", u"ую", u"ой", u"ой"},
      {u"ое", u"ого", u"ому", u"ое", u"ым", u"ом"},
      {u"ые", u"ых", u"ым", u"ые", u"ыми", u"ых"}}},
    {{{u"ий", u"ого", u"ому", u"ий", u"им", u"ом"},
      {u"ая", u"ой", u"ой", u"ую", u"ой", u"ой"},
      {u"ое", u"ого", u"ому", u"ое", u"им", u"ом"},
      {u"ие", u"их", u"им", u"ие", u"ими", u"их"}}},
};

struct AdjectiveList {
    AdjectivePattern pattern;
    std::initializer_list<std::u16string_view> words;
};

const AdjectiveList kAdjectiveLists[] = {
    {kAdjHard, {u"федеральный",
                u"государственный",
                u"обязательный",
                u"налоговый",
                u"письменный",
                u"официальный",
                u"нормативный",
                u"социальный",
                u"специальный",
                u"муниципальный",
                u"финансовый",
                u"бюджетный",
                u"земельный",
                u"уголовный",
                u"административный",
                u"договорный",
                u"исполнительный",
                u"судебный",
                u"отдельный",
                u"полный",
                u"денежный",
                u"установленный",
                u"указанный",
                u"необходимый",
                u"допустимый",
                u"предельный",
                u"максимальный",
                u"минимальный",
                u"номинальный",
                u"эксплуатационный",
                u"проектный",
                u"строительный",
                u"пожарный",
                u"санитарный",
                u"промышленный",
                u"производственный",
                u"частный",
                u"публичный",
                u"открытый",
                u"закрытый",
                u"акционерный",
                u"учредительный",
                u"уставный",
                u"кредитный",
                u"валютный",
                u"таможенный",
                u"экспортный",
                u"расчётный",
                u"отчётный",
                u"квартальный",
                u"ежегодный",
                u"ежемесячный",
                u"дополнительный",
                u"повторный",
                u"первичный",
                u"индивидуальный",
                u"коллективный",
                u"постоянный",
                u"сезонный",
                u"аварийный",
                u"электронный",
                u"бумажный",
                u"нотариальный",
                u"арбитражный",
                u"конституционный",
                u"региональный",
                u"местный",
                u"районный",
                u"утверждённый",
                u"согласованный",
                u"зарегистрированный",
                u"полученный",
                u"уплаченный",
                u"начисленный"}},
    {kAdjStressed,
     {u"трудовой", u"правовой", u"годовой", u"основной", u"страховой", u"цифровой", u"очередной",
      u"областной"}},
    {kAdjVelar,
     {u"гражданский", u"юридический", u"экономический", u"технический", u"физический",
      u"химический", u"механический", u"электрический", u"технологический", u"методический",
      u"практический", u"российский", u"коммерческий", u"некоммерческий", u"экологический"}},
};

struct Adjective {
    std::u16string stem;
    AdjectivePattern pattern;
};

enum VerbForm {
    kInf,
    k3Sg,
    k3Pl,
    kPastM,
    kPastF,
    kPastN,
    kPastPl,
    kRefl3Sg,
    kRefl3Pl,
    kReflPastPl,
    kReflInf
};
constexpr int kVerbForms = 11;

// Verbs in -ать/-ять (устанавливает) and in -овать (регулирует).
constexpr std::array<std::u16string_view, kVerbForms> kVerbEndings[] = {
    {u"ть", u"ет", u"ют", u"л", u"ла", u"ло", u"ли", u"ется", u"ются", u"лись", u"ться"},
    {u"овать", u"ует", u"уют", u"овал", u"овала", u"овало", u"овали", u"уется", u"уются",
     u"овались", u"оваться"},
};

const std::initializer_list<std::u16string_view> kVerbLists[] = {
    {u"устанавливать", u"рассматривать", u"предусматривать", u"обеспечивать",    u"выполнять",
     u"применять",     u"исполнять",     u"представлять",    u"осуществлять",    u"определять",
     u"утверждать",    u"подтверждать",  u"уплачивать",      u"начислять",       u"учитывать",
     u"указывать",     u"сохранять",     u"принимать",       u"составлять",      u"заполнять",
     u"направлять",    u"получать",      u"оформлять",       u"облагать",        u"проверять",
     u"изменять",      u"дополнять",     u"отменять",        u"заменять",        u"объединять",
     u"разделять",     u"соединять",     u"присоединять",    u"восстанавливать", u"устранять",
     u"нарушать",      u"соблюдать",     u"запрещать",       u"разрешать",       u"ограничивать",
     u"освобождать",   u"возмещать",     u"удерживать",      u"расторгать",      u"прекращать",
     u"продлевать",    u"сокращать",     u"увеличивать",     u"уменьшать",       u"рассчитывать",
     u"пересчитывать", u"выплачивать",   u"перечислять",     u"взыскивать",      u"подписывать",
     u"согласовывать", u"уведомлять",    u"допускать",       u"предоставлять",   u"обязывать",
     u"испытывать",    u"измерять",      u"нагревать",       u"охлаждать",       u"подключать",
     u"отключать",     u"включать",      u"обслуживать",     u"обрабатывать"},
    {u"регулировать",  u"использовать",   u"контролировать",  u"гарантировать",  u"требовать",
     u"финансировать", u"компенсировать", u"регистрировать",  u"планировать",    u"обжаловать",
     u"информировать", u"монтировать",    u"эксплуатировать", u"ремонтировать",  u"проектировать",
     u"формировать",   u"организовать",   u"декларировать",   u"лицензировать",  u"субсидировать",
     u"нормировать",   u"стимулировать",  u"анализировать",   u"координировать", u"согласовать",
     u"рекомендовать", u"образовать"},
};

struct Verb {
    std::u16string stem;
    int pattern;
};

std::u16string Stem(std::u16string_view word, std::u16string_view ending) {
    return std::u16string(word.substr(0, word.size() - ending.size()));
}

// The lists in frequency rank order: the lists are interleaved, so the most frequent words
// come from every pattern.
template <typename List, typename Make>
auto Interleaved(const List& lists, Make make) {
    std::vector<decltype(make(lists[0], *lists[0].words.begin()))> items;
    for (size_t rank = 0;; ++rank) {
        const size_t before = items.size();
        for (const auto& list : lists) {
            if (rank < list.words.size()) items.push_back(make(list, list.words.begin()[rank]));
        }
        if (items.size() == before) return items;
    }
}

const std::vector<Noun>& Nouns() {
    static const std::vector<Noun> nouns =
        Interleaved(kNounLists, [](const NounList& l, std::u16string_view w) {
            return Noun{Stem(w, kNounEndings[l.pattern][0]), l.pattern, l.animate};
        });
    return nouns;
}

const std::vector<Adjective>& Adjectives() {
    static const std::vector<Adjective> adjectives =
        Interleaved(kAdjectiveLists, [](const AdjectiveList& l, std::u16string_view w) {
            return Adjective{Stem(w, kAdjectiveEndings[l.pattern][0][0]), l.pattern};
        });
    return adjectives;
}

const std::vector<Verb>& Verbs() {
    static const std::vector<Verb> verbs = [] {
        std::vector<Verb> all;
        for (int pattern = 0; pattern < 2; ++pattern) {
            for (const std::u16string_view w : kVerbLists[pattern]) {
                all.push_back(Verb{Stem(w, kVerbEndings[pattern][kInf]), pattern});
            }
        }
        return all;
    }();
    return verbs;
}

// The running sums of the weights 1 / (rank + 2) of `n` items.
std::vector<double> CumulativeWeights(size_t n) {
    std::vector<double> cumulative;
    cumulative.reserve(n);
    double total = 0;
    for (size_t r = 0; r < n; ++r) cumulative.push_back(total += 1.0 / static_cast<double>(r + 2));
    return cumulative;
}

// Picks an item by a Zipf-like law (weight 1 / (rank + 2)), as words are used in real text:
// a few very often, most rarely. Each kind of item has one list, so its sums are made once.
template <typename T>
const T& Pick(KbRandom& random, const std::vector<T>& items) {
    static const std::vector<double> cumulative = CumulativeWeights(items.size());
    const double at = static_cast<double>(random.Next() >> 11) * 0x1.0p-53 * cumulative.back();
    const size_t i = static_cast<size_t>(
        std::upper_bound(cumulative.begin(), cumulative.end(), at) - cumulative.begin());
    return items[std::min(i, items.size() - 1)];
}

Gender GenderOf(Pattern p) {
    switch (p) {
        case kFemA:
        case kFemVelar:
        case kFemIya:
        case kFemSoft:
            return Gender::kFem;
        case kNeutO:
        case kNeutIe:
            return Gender::kNeut;
        default:
            return Gender::kMasc;
    }
}

std::u16string NounForm(const Noun& noun, Case c, bool plural) {
    Case used = c;
    // Animate nouns take the genitive for the accusative (in the singular only the masculine).
    if (c == Case::kAcc && noun.animate && (plural || GenderOf(noun.pattern) == Gender::kMasc))
        used = Case::kGen;
    const size_t slot = static_cast<size_t>(used) + (plural ? 6 : 0);
    return std::u16string(noun.stem) + std::u16string(kNounEndings[noun.pattern][slot]);
}

std::u16string AdjectiveForm(const Adjective& adjective, Gender g, Case c, bool plural,
                             bool animate) {
    const size_t row = plural ? 3 : static_cast<size_t>(g);
    Case used = c;
    if (c == Case::kAcc && animate && (plural || g == Gender::kMasc)) used = Case::kGen;
    return adjective.stem +
           std::u16string(kAdjectiveEndings[adjective.pattern][row][static_cast<size_t>(used)]);
}

std::u16string VerbText(const Verb& verb, VerbForm form) {
    return verb.stem + std::u16string(kVerbEndings[verb.pattern][form]);
}

VerbForm PastOf(const NounPhrase& subject) {
    if (subject.plural) return kPastPl;
    if (subject.gender == Gender::kFem) return kPastF;
    return subject.gender == Gender::kNeut ? kPastN : kPastM;
}

std::u16string Number(KbRandom& random) {
    std::u16string text;
    for (const char c : std::to_string(random.Below(90) + 1))
        text.push_back(static_cast<char16_t>(c));
    return text;
}

NounPhrase Phrase(KbRandom& random, Case c) {
    return RandomNounPhrase(random, c, random.Below(3) == 0, random.Below(2) == 0);
}

}  // namespace

NounPhrase RandomNounPhrase(KbRandom& random, Case c, bool plural, bool withAdjective) {
    const Noun& noun = Pick(random, Nouns());
    NounPhrase phrase{u"", GenderOf(noun.pattern), plural};
    if (withAdjective) {
        phrase.text =
            AdjectiveForm(Pick(random, Adjectives()), phrase.gender, c, plural, noun.animate) +
            u" ";
    }
    phrase.text += NounForm(noun, c, plural);
    return phrase;
}

std::u16string RandomSentence(KbRandom& random) {
    const NounPhrase subject = Phrase(random, Case::kNom);
    const Verb& verb = Pick(random, Verbs());
    const VerbForm present = subject.plural ? k3Pl : k3Sg;
    const VerbForm reflexive = subject.plural ? kRefl3Pl : kRefl3Sg;
    std::u16string s;
    switch (random.Below(8)) {
        case 0:
            s = subject.text + u" " + VerbText(verb, present) + u" " +
                Phrase(random, Case::kAcc).text + u" " + Phrase(random, Case::kGen).text;
            break;
        case 1:
            s = subject.text + u" " +
                (random.Below(2)
                     ? VerbText(verb, reflexive)
                     : (subject.plural ? u"могут " : u"может ") + VerbText(verb, kReflInf)) +
                u" в соответствии с " + Phrase(random, Case::kIns).text;
            break;
        case 2:
            s = u"в случае " + Phrase(random, Case::kGen).text + u" " + subject.text + u" " +
                VerbText(verb, present) + u" " + Phrase(random, Case::kAcc).text + u" не позднее " +
                Number(random) + u" дней";
            break;
        case 3:
            s = subject.text + u" " + VerbText(verb, PastOf(subject)) + u" " +
                Phrase(random, Case::kAcc).text + u" для " +
                RandomNounPhrase(random, Case::kGen, true, true).text;
            break;
        case 4:
            s = u"по " + Phrase(random, Case::kDat).text + u" " + Phrase(random, Case::kGen).text +
                u" " + VerbText(verb, reflexive) + u" " + subject.text;
            break;
        case 5:
            s = subject.text + u" " +
                VerbText(verb, subject.plural ? kReflPastPl : PastOf(subject)) + u" при " +
                Phrase(random, Case::kPrep).text + u" согласно статье " + Number(random);
            break;
        case 6:
            s = u"положения настоящей статьи " + VerbText(verb, kRefl3Pl) + u" к " +
                RandomNounPhrase(random, Case::kDat, true, true).text +
                u", если иное не установлено " + Phrase(random, Case::kIns).text;
            break;
        default:
            s = u"для целей " + RandomNounPhrase(random, Case::kGen, true, false).text + u" " +
                subject.text + u" вправе " + VerbText(verb, kInf) + u" " +
                Phrase(random, Case::kAcc).text + u" в " + Phrase(random, Case::kPrep).text;
            break;
    }
    return Capitalised(std::move(s)) + u".";
}

std::vector<std::u16string> AllWordForms() {
    std::vector<std::u16string> forms;
    for (const Noun& noun : Nouns()) {
        for (int c = 0; c < 6; ++c) {
            forms.push_back(NounForm(noun, static_cast<Case>(c), false));
            forms.push_back(NounForm(noun, static_cast<Case>(c), true));
        }
    }
    for (const Adjective& adjective : Adjectives()) {
        for (int c = 0; c < 6; ++c) {
            for (int g = 0; g < 3; ++g)
                forms.push_back(AdjectiveForm(adjective, static_cast<Gender>(g),
                                              static_cast<Case>(c), false, false));
            forms.push_back(
                AdjectiveForm(adjective, Gender::kMasc, static_cast<Case>(c), true, false));
        }
    }
    for (const Verb& verb : Verbs()) {
        for (int f = 0; f < kVerbForms; ++f)
            forms.push_back(VerbText(verb, static_cast<VerbForm>(f)));
    }
    std::sort(forms.begin(), forms.end());
    forms.erase(std::unique(forms.begin(), forms.end()), forms.end());
    return forms;
}

std::vector<std::u16string> FrequentNounForms(size_t count) {
    std::vector<std::u16string> forms;
    for (size_t i = 0; i < count && i < Nouns().size(); ++i) {
        for (int c = 0; c < 12; ++c)
            forms.push_back(NounForm(Nouns()[i], static_cast<Case>(c % 6), c >= 6));
    }
    return forms;
}

std::u16string Capitalised(std::u16string text) {
    if (text.empty()) return text;
    char16_t& c = text[0];
    if (c >= u'а' && c <= u'я')
        c = static_cast<char16_t>(c - 0x20);
    else if (c == u'ё')
        c = u'Ё';
    else if (c >= u'a' && c <= u'z')
        c = static_cast<char16_t>(c - 0x20);
    return text;
}

}  // namespace kestrova::bench
