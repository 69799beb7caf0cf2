// The command line of the viewer and the placement of its frames.
#include "platform/settings_store.h"
#include "shell/app/frame_placement.h"
#include "shell/app/nav_command_line.h"
#include "shell/app/scene_graph_backend.h"
#include "shell/tests/shell_test_support.h"

#include <QObject>
#include <QTest>

using namespace kestrova;

namespace {

CNavCommandLineInfo Parse(const QStringList& args) {
    CNavCommandLineInfo info;
    info.Parse(args);
    return info;
}

platform::SettingsStore FreshStore() {
    static int n = 0;
    return platform::SettingsStore(
        (test::TestHome().path() + QStringLiteral("/registry%1").arg(++n)).toStdString());
}

const std::u16string kFrameKey = u"Software\\Kestrova\\ViewSettings\\Default\\Frame";

}  // namespace

class AppStartTest : public QObject {
    Q_OBJECT
private slots:
    void SwitchesAndStartPage() {
        CNavCommandLineInfo a = Parse({"kb\\index-law.html", "/domain=law"});
        QCOMPARE(a.startPage, QStringLiteral("kb\\index-law.html"));
        QCOMPARE(a.domain, QStringLiteral("law"));
        QVERIFY(a.folder.isEmpty());

        CNavCommandLineInfo b = Parse({"-folder=/data/kb", "-domain=tech", "/domain=ref"});
        QCOMPARE(b.folder, QStringLiteral("/data/kb"));
        QCOMPARE(b.domain, QStringLiteral("ref"));  // a later switch replaces an earlier one
        QVERIFY(b.startPage.isEmpty());

        CNavCommandLineInfo none = Parse({});
        QVERIFY(none.startPage.isEmpty() && none.domain.isEmpty() && none.folder.isEmpty());
    }

    void OnlyExactSwitchesCount() {
        CNavCommandLineInfo a = Parse({"/Domain=law", "domain=law", "second.html", "/other"});
        QVERIFY(a.domain.isEmpty());                          // other letter case: not recognised
        QCOMPARE(a.startPage, QStringLiteral("domain=law"));  // no switch character: a page
        CNavCommandLineInfo b = Parse({"first.html", "second.html"});
        QCOMPARE(b.startPage, QStringLiteral("first.html"));
        CNavCommandLineInfo c = Parse({"/folder="});
        QVERIFY(c.folder.isEmpty());
    }

    void SoftwareRenderersAreRecognised() {
        // GL_RENDERER strings as Mesa and the drivers give them; hardware names may mention
        // LLVM (the shader compiler) without being drawn on the processor.
        QVERIFY(IsSoftwareRenderer(QStringLiteral("llvmpipe (LLVM 15.0.6, 256 bits)")));
        QVERIFY(IsSoftwareRenderer(QStringLiteral("softpipe")));
        QVERIFY(IsSoftwareRenderer(QStringLiteral("Mesa X11 Software Rasterizer")));
        QVERIFY(IsSoftwareRenderer(QString()));  // no OpenGL at all
        QVERIFY(!IsSoftwareRenderer(QStringLiteral("Mesa Intel(R) UHD Graphics 620 (KBL GT2)")));
        QVERIFY(!IsSoftwareRenderer(
            QStringLiteral("AMD Radeon RX 580 Series (polaris10, LLVM 15.0.6, DRM 3.49)")));
        QVERIFY(!IsSoftwareRenderer(QStringLiteral("NVIDIA GeForce GTX 1060/PCIe/SSE2")));
    }

    void PlacementValuesOutOfRangeAreUnset() {
        platform::SettingsStore store = FreshStore();
        store.WriteDword(kFrameKey, u"Maximized", 7);
        store.WriteDword(kFrameKey, u"Left", static_cast<uint32_t>(-20));  // left of the screen
        store.WriteDword(kFrameKey, u"Top", 5000);
        store.WriteDword(kFrameKey, u"Width", 99);
        store.WriteDword(kFrameKey, u"Height", 5000);
        FramePlacement p = ReadFramePlacement(store);
        QVERIFY(p.maximized);
        QCOMPARE(p.left, kPlacementUnset);
        QCOMPARE(p.top, 5000);
        QCOMPARE(p.width, kPlacementUnset);
        QCOMPARE(p.height, 5000);
        store.WriteDword(kFrameKey, u"Width", 5001);
        QCOMPARE(ReadFramePlacement(store).width, kPlacementUnset);
        store.WriteString(kFrameKey, u"Height", u"600");  // not a number
        QCOMPARE(ReadFramePlacement(store).height, kPlacementUnset);
    }

    void PlacementRoundTripsWithUnsetValues() {
        platform::SettingsStore store = FreshStore();
        FramePlacement p;
        p.width = 800;
        p.height = 600;
        WriteFramePlacement(store, p);
        QCOMPARE(store.ReadDword(kFrameKey, u"Left"), 0x80000000u);
        QVERIFY(ReadFramePlacement(store) == p);
    }

    void CreationGeometryRules() {
        const QRect work(0, 30, 1600, 1170);
        FramePlacement p;
        QVERIFY(!CreationGeometry(p, work).rect && !CreationGeometry(p, work).size);
        p.left = 10;
        p.top = 20;
        p.width = 800;  // height unset: the default rectangle, whatever the corner
        QVERIFY(!CreationGeometry(p, work).rect && !CreationGeometry(p, work).size);
        p.height = 600;
        QCOMPARE(CreationGeometry(p, work).rect, QRect(10, 50, 800, 600));
        p.left = 1700;  // the corner is off the work area: default position, stored size
        FrameGeometry off = CreationGeometry(p, work);
        QVERIFY(!off.rect);
        QCOMPARE(off.size, QSize(800, 600));
        p.left = 10;
        FrameGeometry noArea = CreationGeometry(p, std::nullopt);
        QVERIFY(!noArea.rect);
        QCOMPARE(noArea.size, QSize(800, 600));
    }
};

KESTROVA_SHELL_TEST_MAIN(AppStartTest)
#include "app_start_test.moc"
