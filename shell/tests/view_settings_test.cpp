// The view settings and their histories in the settings store, as a window loads and saves
// them.
#include "shell/app/view_settings.h"
#include "platform/settings_store.h"
#include "shell/tests/shell_test_support.h"

#include <QObject>
#include <QTest>

using namespace kestrova;

namespace {

const std::u16string kRoot = u"Software\\Kestrova\\ViewSettings\\Default";

platform::SettingsStore FreshStore() {
    static int n = 0;
    return platform::SettingsStore(
        (test::TestHome().path() + QStringLiteral("/registry%1").arg(++n)).toStdString());
}

}  // namespace

class ViewSettingsTest : public QObject {
    Q_OBJECT
private slots:
    void NothingStoredGivesTheDefaults() {
        ViewSettings s;
        LoadViewSettings(FreshStore(), QString(), s);
        QVERIFY(s == ViewSettings());
        QVERIFY(s.relatedWords && s.leftPaneVisible && s.showIcons && s.showText);
        QVERIFY(!s.titlesOnly && !s.queryLanguage && !s.bottomPaneVisible && !s.offlineMode);
        QCOMPARE(s.leftPaneExtent, -1);
    }

    void SavedBlockReadsBackUnderItsKeys() {
        platform::SettingsStore store = FreshStore();
        ViewSettings s;
        s.titlesOnly = true;
        s.relatedWords = false;
        s.leftPaneExtent = 50;  // out of range for the screen, but stored as it is
        s.bottomPaneVisible = true;
        s.bottomPaneExtent = 321;
        s.offlineMode = true;
        s.searchHistory.Add(QStringLiteral("договор"));
        s.searchHistory.Add(QStringLiteral("заземление"));
        SaveViewSettings(store, QString(), s);

        QCOMPARE(store.ReadDword(kRoot + u"\\SearchOptions", u"TitlesOnly"), 1u);
        QCOMPARE(store.ReadDword(kRoot + u"\\ViewLayout\\LeftPane", u"Extent"), 50u);
        QCOMPARE(store.ReadDword(kRoot + u"\\ViewLayout\\BottomPane", u"Visible"), 1u);
        QCOMPARE(store.ReadDword(kRoot + u"\\BrowserOptions", u"OfflineMode"), 1u);
        QCOMPARE(store.ReadString(kRoot + u"\\SearchHistory", u"Item0"),
                 std::u16string(u"заземление"));
        QVERIFY(!store.KeyExists(kRoot + u"\\IndexHistory"));  // empty list, no key

        ViewSettings back;
        LoadViewSettings(store, QString(), back);
        QVERIFY(back == s);
    }

    void AnyNonZeroNumberIsTrueAndStringsAreNotNumbers() {
        platform::SettingsStore store = FreshStore();
        store.WriteDword(kRoot + u"\\ContentOptions", u"ShowIcons", 0);
        store.WriteDword(kRoot + u"\\SearchOptions", u"QueryLanguage", 7);
        store.WriteString(kRoot + u"\\ToolbarOptions", u"ShowText", u"0");
        ViewSettings s;
        LoadViewSettings(store, QString(), s);
        QVERIFY(!s.showIcons);
        QVERIFY(s.queryLanguage);
        QVERIFY(s.showText);  // a string is not a DWORD: the default stays
    }

    void HistoryStopsAtTheFirstGapAndIsWrittenBackWhole() {
        platform::SettingsStore store = FreshStore();
        const std::u16string key = kRoot + u"\\SearchHistory";
        store.WriteString(key, u"Item0", u"a");
        store.WriteString(key, u"Item1", u"");  // empty entries are skipped
        store.WriteString(key, u"Item2", u"c");
        store.WriteString(key, u"Item4", u"e");  // after the gap at 3: not read
        ViewSettings s;
        LoadViewSettings(store, QString(), s);
        QCOMPARE(s.searchHistory.Items(), QStringList({"a", "c"}));
        SaveViewSettings(store, QString(), s);
        QCOMPARE(store.ReadString(key, u"Item1"), std::u16string(u"c"));
        QVERIFY(!store.ReadString(key, u"Item2"));
        QVERIFY(!store.ReadString(key, u"Item4"));
    }

    void ProfilesAreApart() {
        platform::SettingsStore store = FreshStore();
        ViewSettings s;
        s.titlesOnly = true;
        SaveViewSettings(store, QStringLiteral("Other"), s);
        ViewSettings d;
        LoadViewSettings(store, QString(), d);
        QVERIFY(!d.titlesOnly);
        QVERIFY(store.KeyExists(u"Software\\Kestrova\\ViewSettings\\Other\\SearchOptions"));
    }

    void HistoryMovesRepeatsToTheFrontAndKeepsTwenty() {
        HistoryList h;
        for (int i = 0; i < 25; ++i) h.Add(QString::number(i));
        h.Add(QString());
        QCOMPARE(h.Items().size(), 20);
        QCOMPARE(h.Items().front(), QStringLiteral("24"));
        h.Add(QStringLiteral("10"));
        QCOMPARE(h.Items().front(), QStringLiteral("10"));
        QCOMPARE(h.Items().size(), 20);
        h.Add(QStringLiteral("Ab"));
        h.Add(QStringLiteral("ab"));  // letter case counts
        QCOMPARE(h.Items()[1], QStringLiteral("Ab"));
    }
};

KESTROVA_SHELL_TEST_MAIN(ViewSettingsTest)
#include "view_settings_test.moc"
