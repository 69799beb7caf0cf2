#include "search/morphology/tests/russian_fixture.h"

#include "search/morphology/annotation.h"

namespace kestrova::testing {

DictFixture RussianFixture() {
    auto items = [](std::initializer_list<std::pair<const char*, const char*>> list) {
        std::vector<FixtureItem> out;
        for (auto [ending, codes] : list) out.push_back({Cp1251(ending), Cp1251(codes), ""});
        return out;
    };
    DictFixture d;
    d.models.push_back(items({{"", "аа"}, {"А", "аб"}, {"У", "ав"}, {"Ы", "аг"}}));
    d.models.push_back(items({{"АТЬ", "ба"}, {"АЛ", "бб"}, {"АЛА", "бв"}}));
    d.models.push_back(items({{"А", "ва"}, {"И", "вб"}, {"У", "вв"}}));
    d.models.push_back(items({{"ИЙ", "га"}, {"ИЙ", "гб"}}));
    d.models.back()[1].prefix = Cp1251("НАИ");
    d.models.push_back(items({{"ОК", "аа"}, {"КА", "аб"}}));
    d.models.push_back(items({{"Ь", "ва"}, {"И", "вб"}}));
    d.models.push_back(items({{"ТЬ", "ба"}, {"ЛИ", "бб"}}));
    d.flags = {0, 1, 2, 3, 255, 0, 0};
    d.prefixSets = {Cp1251("ПО"), Cp1251("ПРО")};
    d.lexemes = {{0, Cp1251("ЗАКОН")}, {1, Cp1251("СДЕЛ")},   {2, Cp1251("ЕЛК")},
                 {3, Cp1251("ЛУЧШ")},  {4, Cp1251("ЗВОН")},   {5, Cp1251("ПРИБЫЛ")},
                 {6, Cp1251("ПРИБЫ")}, {3, Cp1251("ЛУЧШ"), 1}};
    // Prediction base: reversed ending, "+", rank digit, annotation.
    auto predict = [&](const char* reversed, std::uint32_t rank, std::uint32_t model,
                       std::uint32_t item) {
        d.predictStrings.insert(
            Cp1251(reversed) + "+" +
            EncodeAnnotationDigits(rank + 35 * PackAnnotation({model, item, 0})));
    };
    predict("Ы", 0, 0, 3);
    predict("ИК", 0, 2, 1);
    predict("ИК", 1, 0, 3);  // its ending does not fit: dropped
    d.gramtab = Cp1251(
        "// test codes\nаа 1 С мр,ед,им\nаб 1 С мр,ед,рд\nав 1 С мр,ед,дт\nаг 1 С мр,мн,им\n"
        "ба 2 ИНФИНИТИВ св\nбб 2 Г мр,ед,прш\nбв 2 Г жр,ед,прш\n"
        "ва 3 С жр,ед,им\nвб 3 С жр,ед,рд\nвв 3 С жр,ед,вн\nга 4 П мр,ед,им\nгб 4 П прев\n");
    return d;
}

}  // namespace kestrova::testing
