#include "bench/viewer_probe.h"

#include "bench/kb_vocabulary.h"
#include "bench/large_lists_kb.h"
#include "exec/exec_control.h"
#include "model/keyword.h"
#include "model/model.h"
#include "model/topic.h"
#include "shell/app/main_frame.h"
#include "shell/app/nav_app.h"
#include "shell/app/process_setup.h"
#include "shell/app/scene_graph_backend.h"
#include "shell/commands.h"
#include "shell/nav/nav_messages.h"
#include "shell/nav/pagiro_wnd.h"
#include "shell/nav/pagiro_wnd_impl.h"
#include "shell/panes/content_pane.h"
#include "shell/panes/content_tree.h"
#include "shell/panes/content_tree_model.h"
#include "shell/panes/index_box.h"
#include "shell/panes/index_pane.h"
#include "shell/panes/result_pane.h"
#include "shell/panes/tabs_pane.h"
#include "shell/toolbar/domain_combo_box.h"
#include "shell/toolbar/nav_toolbar.h"
#include "shell/toolbar/search_combo_box.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTimer>
#include <QUrl>
#include <QWebEngineView>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <functional>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace kestrova::bench {
namespace {

using Clock = std::chrono::steady_clock;

double MsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// Processor time of the calling thread in ms: what the user-interface thread itself spends,
// which a busy machine does not inflate as it does the wall time.
double ThreadCpuMs() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

void Ready() {
    std::printf("ready\n");
    std::fflush(stdout);
}

// Calls `done` once `test` holds, checking after every pass of the event loop.
void When(std::function<bool()> test, std::function<void()> done) {
    auto* timer = new QTimer(qApp);
    QObject::connect(timer, &QTimer::timeout, timer, [timer, test, done] {
        if (!test()) return;
        timer->stop();
        timer->deleteLater();
        done();
    });
    timer->start(0);
}

// Runs the event loop until `test` holds (or `limitMs` passed); false on the limit.
bool WaitFor(const std::function<bool()>& test, int limitMs = 600000) {
    QElapsedTimer clock;
    clock.start();
    while (!test()) {
        if (clock.elapsed() > limitMs) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    return true;
}

CPagiroWnd_impl_& Nav(CNavApp& app, size_t i = 0) {
    return app.Frames().at(i)->NavWindow()->Impl();
}

// The model is shown: contents roots and categories are filled.
bool ModelShown(CNavApp& app) {
    if (app.Frames().empty()) return false;
    CPagiroWnd_impl_& nav = Nav(app);
    return nav.ShownModel() && nav.ToolBar()->DomainBox()->count() > 0 &&
           nav.Tabs()->Contents()->Tree()->Model()->rowCount(QModelIndex()) > 0;
}

std::unique_ptr<CNavApp> StartViewer(const QString& kb) {
    auto app = std::make_unique<CNavApp>();
    QString error;
    if (!app->InitInstance({QStringLiteral("/folder=") + kb}, &error)) {
        std::fprintf(stderr, "bench_viewer: %s\n", qPrintable(error));
        return nullptr;
    }
    return app;
}

// Resident memory of a process in MB (0 when it cannot be read).
double ProcessRssMb(const std::string& pid) {
    std::ifstream status("/proc/" + pid + "/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmRSS:", 0) == 0) return std::stod(line.substr(6)) / 1024.0;
    }
    return 0;
}

// The processes of Qt WebEngine started by this process: their total resident memory, and
// that of the renderers alone.
struct HelperMemory {
    double allMb = 0;
    double renderersMb = 0;
    int renderers = 0;
};

std::string ParentOf(const std::string& pid) {
    std::ifstream stat("/proc/" + pid + "/stat");
    std::string all((std::istreambuf_iterator<char>(stat)), {});
    const size_t close = all.rfind(')');
    if (close == std::string::npos) return {};
    std::istringstream rest(all.substr(close + 2));
    std::string state, parent;
    rest >> state >> parent;
    return parent;
}

bool DescendsFromMe(std::string pid) {
    const std::string me = std::to_string(QCoreApplication::applicationPid());
    for (int depth = 0; depth < 8 && !pid.empty() && pid != "0" && pid != "1"; ++depth) {
        pid = ParentOf(pid);
        if (pid == me) return true;
    }
    return false;
}

HelperMemory WebEngineMemory() {
    HelperMemory m;
    for (const QString& entry : QDir("/proc").entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        bool number = false;
        entry.toLongLong(&number);
        if (!number || !DescendsFromMe(entry.toStdString())) continue;
        std::ifstream cmd("/proc/" + entry.toStdString() + "/cmdline");
        std::string line((std::istreambuf_iterator<char>(cmd)), {});
        if (line.find("QtWebEngineProcess") == std::string::npos) continue;
        const double mb = ProcessRssMb(entry.toStdString());
        m.allMb += mb;
        // Renderers are forked by a zygote and keep its command line: they are the helpers
        // whose parent is not this process.
        if (ParentOf(entry.toStdString()) != std::to_string(QCoreApplication::applicationPid())) {
            m.renderersMb += mb;
            ++m.renderers;
        }
    }
    return m;
}

double SelfRssMb() { return ProcessRssMb("self"); }

void TypeKey(QWidget* widget, QChar c) {
    QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
    QKeyEvent release(QEvent::KeyRelease, 0, Qt::NoModifier, QString(c));
    QCoreApplication::sendEvent(widget, &press);
    QCoreApplication::sendEvent(widget, &release);
}

void PressEnter(QWidget* widget) {
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_Return, Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &press);
    QCoreApplication::sendEvent(widget, &release);
}

// Draws what is pending, as a user would see it.
void Paint() { QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents); }

int FloorChild(const QString& page) {
    QWebEngineView view;
    view.resize(1200, 800);
    view.show();
    QObject::connect(&view, &QWebEngineView::loadFinished, [](bool) {
        const HelperMemory helpers = WebEngineMemory();
        std::printf(
            "  memory of the floor: its process %.0f MB; Qt WebEngine's processes %.0f "
            "MB (%d renderers, %.0f MB)\n",
            SelfRssMb(), helpers.allMb, helpers.renderers, helpers.renderersMb);
        Ready();
    });
    view.load(QUrl::fromLocalFile(page));
    return QApplication::exec();
}

int StartChild(const QString& kb) {
    std::unique_ptr<CNavApp> app = StartViewer(kb);
    if (!app) return 1;
    CNavApp& viewer = *app;
    When([&viewer] { return ModelShown(viewer); }, [] { Ready(); });
    return QApplication::exec();
}

// Runs one search through the search box; the milliseconds from Enter to the list filled and
// drawn, and (when given) the user-interface thread's processor time for it.
double SearchThroughBox(CPagiroWnd_impl_& nav, const QString& query, double* cpuMs = nullptr) {
    QLineEdit* edit = nav.ToolBar()->SearchBox()->lineEdit();
    edit->setText(query);
    Paint();  // the typed query is on the screen before Enter, as it is for a user
    const double cpu = ThreadCpuMs();
    const Clock::time_point start = Clock::now();
    PressEnter(edit);
    Paint();
    if (cpuMs) *cpuMs = ThreadCpuMs() - cpu;
    return MsSince(start);
}

int PrepareChild(const QString& kb) {
    const Clock::time_point start = Clock::now();
    std::unique_ptr<CNavApp> app = StartViewer(kb);
    if (!app || !WaitFor([&] { return ModelShown(*app); })) return 1;
    const double modelMs = MsSince(start);
    const double firstSearchMs =
        SearchThroughBox(Nav(*app), QString::fromStdU16String(FrequentNounForms(1).front()));
    std::printf(
        "  first start (model built and cached) %.0f ms; first search (both indexes "
        "built) %.1f s\n",
        modelMs, firstSearchMs / 1000);
    return 0;
}

struct SearchFigures {
    std::vector<double> core, viewer, viewerCpu;
    int mismatches = 0;
};

SearchFigures MeasureSearches(CPagiroWnd_impl_& nav) {
    std::vector<std::u16string> queries = FrequentNounForms(6);
    const std::vector<std::u16string> all = AllWordForms();
    for (size_t i = 0; i < 6 && !all.empty(); ++i) queries.push_back(all[(i * 797) % all.size()]);
    SearchFigures f;
    NullExecControl control;
    const uint32_t options = kSearchRelatedWords;
    for (const std::u16string& q : queries) {  // once each, so that both sides start warm
        SearchThroughBox(nav, QString::fromStdU16String(q));  // builds the indexes if need be
        nav.ShownModel()->FindTopics(q.c_str(), options, control);
    }
    for (const std::u16string& q : queries) {
        const Clock::time_point start = Clock::now();
        CountedPtr<ITopicSet> set = nav.ShownModel()->FindTopics(q.c_str(), options, control);
        f.core.push_back(MsSince(start));
        double cpu = 0;
        f.viewer.push_back(SearchThroughBox(nav, QString::fromStdU16String(q), &cpu));
        f.viewerCpu.push_back(cpu);
        if (nav.Results()->Count() != set->GetCount()) ++f.mismatches;
    }
    return f;
}

void PrintSearches(CPagiroWnd_impl_& nav) {
    const SearchFigures f = MeasureSearches(nav);
    std::vector<double> extra;
    for (size_t i = 0; i < f.core.size(); ++i) extra.push_back(f.viewer[i] - f.core[i]);
    std::printf(
        "  search, Enter to the result list filled: median %.1f ms; the core's own "
        "search %.1f ms; added by the window: median %.1f ms, largest %.1f ms (target "
        "30 ms); the window thread's processor time median %.1f ms%s\n",
        Median(f.viewer), Median(f.core), Median(extra),
        *std::max_element(extra.begin(), extra.end()), Median(f.viewerCpu),
        f.mismatches ? "; RESULT COUNTS DIFFER" : "");
}

void PrintCategoryChanges(CPagiroWnd_impl_& nav) {
    CContentTree* tree = nav.Tabs()->Contents()->Tree();
    const QModelIndex first = tree->Model()->index(0, 0, QModelIndex());
    tree->expand(first);
    tree->setCurrentIndex(tree->Model()->index(0, 0, first));
    CDomainComboBox* box = nav.ToolBar()->DomainBox();
    std::vector<double> times;
    for (int round = 0; round < 8 && box->count() > 1; ++round) {
        const int entry = round % 2 == 0 ? 1 + (round / 2) % (box->count() - 1) : 0;
        const Clock::time_point start = Clock::now();
        box->setCurrentIndex(entry);
        emit box->selectionChanged();
        Paint();
        times.push_back(MsSince(start));
    }
    std::printf(
        "  category change with the pane state restored: median %.1f ms, largest %.1f "
        "ms (target 300 ms at 50,000 pages)\n",
        Median(times), *std::max_element(times.begin(), times.end()));
}

void PrintMemory(CNavApp& app) {
    CPagiroWnd_impl_& nav = Nav(app);
    const double one = SelfRssMb();
    const HelperMemory helpersOne = WebEngineMemory();
    nav.OnCommand(ID_OPEN_NEW_WINDOW);
    nav.OnCommand(ID_OPEN_NEW_WINDOW);
    WaitFor([&] {
        if (app.Frames().size() < 3) return false;
        for (size_t i = 0; i < 3; ++i) {
            if (!Nav(app, i).ShownModel()) return false;
        }
        return true;
    });
    QElapsedTimer settle;
    settle.start();
    WaitFor([&] { return settle.elapsed() > 3000; });
    const double three = SelfRssMb();
    const HelperMemory helpersThree = WebEngineMemory();
    std::printf(
        "  memory: viewer process %.0f MB with one window, %.0f MB with three; Qt "
        "WebEngine's processes %.0f MB (%d renderers, %.0f MB) with one window, %.0f MB "
        "(%d renderers, %.0f MB) with three\n",
        one, three, helpersOne.allMb, helpersOne.renderers, helpersOne.renderersMb,
        helpersThree.allMb, helpersThree.renderers, helpersThree.renderersMb);
}

int WindowChild(const QString& kb) {
    std::unique_ptr<CNavApp> app = StartViewer(kb);
    if (!app || !WaitFor([&] { return ModelShown(*app); })) return 1;
    CPagiroWnd_impl_& nav = Nav(*app);
    // QT_QUICK_BACKEND=rhi measures the OpenGL path where the viewer would choose software.
    std::printf("  the browser's view is drawn %s\n",
                ChooseSceneGraphBackend() ? "by the software scene graph" : "through OpenGL");
    NavOpenFile open(QString::fromStdString(
        std::filesystem::relative(AnyPage(kb.toStdString()), kb.toStdString()).string()));
    SendNavMessage(app->Frames().front()->NavWindow(), open);
    PrintSearches(nav);
    PrintCategoryChanges(nav);
    PrintMemory(*app);
    return 0;
}

void PrintExpansion(CPagiroWnd_impl_& nav) {
    CContentTree* tree = nav.Tabs()->Contents()->Tree();
    const QModelIndex chapter = tree->Model()->index(0, 0, QModelIndex());
    Clock::time_point start = Clock::now();
    tree->expand(chapter);
    Paint();
    const double first = MsSince(start);
    const int children = tree->Model()->rowCount(chapter);
    tree->collapse(chapter);
    Paint();
    start = Clock::now();
    tree->expand(chapter);
    Paint();
    std::printf(
        "  expanding a node of %d children: %.1f ms the first time, %.1f ms again "
        "(target 150 ms)\n",
        children, first, MsSince(start));
}

void PrintTyping(CPagiroWnd_impl_& nav) {
    nav.OnCommand(ID_SHOW_INDEX);
    CIndexPane* index = nav.Tabs()->Index();
    QLineEdit* edit = index->Box()->lineEdit();
    std::vector<double> selected, painted;
    int missed = 0;
    for (const char* word : {"термин 12345", "термин 2", "термин 299999", "тер", "термин 07"}) {
        edit->clear();
        Paint();
        for (const QChar c : QString::fromUtf8(word)) {
            const Clock::time_point start = Clock::now();
            TypeKey(edit, c);
            selected.push_back(MsSince(start));
            Paint();
            painted.push_back(MsSince(start));
            if (index->SelectedKeyword() < 0) ++missed;
        }
    }
    std::printf(
        "  one letter typed into the index box (%d keywords): keyword selected in median "
        "%.2f ms, largest %.2f ms (target 5 ms); with the list drawn median %.2f ms, "
        "largest %.2f ms%s\n",
        nav.ShownModel()->GetKeywordList()->GetCount(), Median(selected),
        *std::max_element(selected.begin(), selected.end()), Median(painted),
        *std::max_element(painted.begin(), painted.end()),
        missed ? "; SOME LETTERS SELECTED NOTHING" : "");
}

int ListsChild(const QString& kb) {
    std::unique_ptr<CNavApp> app = StartViewer(kb);
    if (!app || !WaitFor([&] { return ModelShown(*app); })) return 1;
    PrintExpansion(Nav(*app));
    PrintTyping(Nav(*app));
    return 0;
}

}  // namespace

int RunViewerProbe(int argc, char** argv, const char* mode, const QString& arg) {
    PrepareShellProcess();
    QApplication application(argc, argv);
    const std::string m = mode;
    if (m == "--floor-child") return FloorChild(arg);
    if (m == "--start-child") return StartChild(arg);
    if (m == "--prepare-child") return PrepareChild(arg);
    if (m == "--window-child") return WindowChild(arg);
    if (m == "--lists-child") return ListsChild(arg);
    std::fprintf(stderr, "bench_viewer: unknown mode %s\n", mode);
    return 2;
}

}  // namespace kestrova::bench
