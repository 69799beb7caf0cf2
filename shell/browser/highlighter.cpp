#include "shell/browser/highlighter.h"

#include "platform/codepage.h"
#include "platform/text.h"
#include "search/morphology/morpho_word_filter.h"

#include <QElapsedTimer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QTimer>
#include <QVariant>
#include <QWebEnginePage>
#include <QWebEngineScript>

#include <string>
#include <unordered_map>
#include <unordered_set>

namespace kestrova {
namespace {

constexpr int kFilterSliceMs = 15;  // words filtered before the event loop gets its turn
// The marking time of one step in the page. The page works in a process of its own, so the
// window stays responsive whatever the step; but the page lays itself out again between two
// steps, which for a large page costs more than the step, so steps are long (a megabyte page
// takes two or three of them); a cancel takes effect at the end of the step under way.
constexpr int kMarkChunkMs = 400;

// The marking script, defined once per document in the application's world. The text of the
// body is read as one string (text nodes joined, a line break at each block boundary so that
// words of two paragraphs do not run together), its words are the maximal runs of letters,
// digits and '_' (so a mark never starts or ends inside a longer word), and every run that is
// one of the chosen words is wrapped, piece by piece where it crosses inline elements.
const char kLibrary[] = R"JS(
if (!window.__kestrovaMarks) (function () {
    'use strict';
    var WORD = /[\p{L}\p{Nd}_]+/gu;
    var SKIP = new Set(['SCRIPT', 'STYLE', 'NOSCRIPT', 'TEMPLATE', 'TEXTAREA', 'SELECT',
                        'IFRAME', 'OBJECT', 'HEAD', 'TITLE']);
    var BREAK = new Set(['ADDRESS', 'ARTICLE', 'ASIDE', 'BLOCKQUOTE', 'BR', 'BUTTON',
        'CAPTION', 'CENTER', 'DD', 'DETAILS', 'DIV', 'DL', 'DT', 'FIELDSET', 'FIGCAPTION',
        'FIGURE', 'FOOTER', 'FORM', 'H1', 'H2', 'H3', 'H4', 'H5', 'H6', 'HEADER', 'HR', 'IMG',
        'INPUT', 'LI', 'MAIN', 'NAV', 'OL', 'P', 'PRE', 'SECTION', 'SUMMARY', 'TABLE', 'TBODY',
        'TD', 'TFOOT', 'TH', 'THEAD', 'TR', 'UL']);
    var STYLE = 'background-color: #FFFF00; color: #000000;';
    var s = { marks: [], text: '', nodes: [], starts: [], at: [], words: [], groups: [], next: 0 };

    function scan() {
        var root = document.body, parts = [], length = 0;
        s.nodes = []; s.starts = [];
        if (!root) { s.text = ''; return; }
        var node = root.firstChild;
        while (node) {
            var down = false;
            if (node.nodeType === 3) {
                var t = node.data;
                if (t.length) { s.nodes.push(node); s.starts.push(length); parts.push(t); length += t.length; }
            } else if (node.nodeType === 1) {
                if (BREAK.has(node.nodeName)) { parts.push('\n'); length += 1; }
                down = !SKIP.has(node.nodeName) && node.firstChild !== null;
            }
            if (down) { node = node.firstChild; continue; }
            while (node !== root && !node.nextSibling) {
                node = node.parentNode;
                if (node !== root && BREAK.has(node.nodeName)) { parts.push('\n'); length += 1; }
            }
            node = node === root ? null : node.nextSibling;
        }
        s.text = parts.join('');
    }

    function nodeAt(pos) {
        var lo = 0, hi = s.starts.length - 1, found = -1;
        while (lo <= hi) {
            var mid = (lo + hi) >> 1;
            if (s.starts[mid] <= pos) { found = mid; lo = mid + 1; } else { hi = mid - 1; }
        }
        return found;
    }

    // Replaces a text node by its text with the pieces of one group wrapped in marks.
    function wrap(group) {
        var node = s.nodes[group.i], parent = node.parentNode;
        if (!parent) return;
        var text = node.data, pieces = group.pieces, pos = 0;
        var fragment = document.createDocumentFragment();
        for (var k = 0; k < pieces.length; k += 2) {
            if (pieces[k] > pos) fragment.appendChild(document.createTextNode(text.substring(pos, pieces[k])));
            var span = document.createElement('span');
            span.className = 'kestrova-highlight';
            span.setAttribute('style', STYLE);
            span.appendChild(document.createTextNode(text.substring(pieces[k], pieces[k + 1])));
            fragment.appendChild(span);
            s.marks.push(span);
            pos = pieces[k + 1];
        }
        if (pos < text.length) fragment.appendChild(document.createTextNode(text.substring(pos)));
        parent.replaceChild(fragment, node);
    }

    function remove() {
        var parents = new Set();
        for (var k = 0; k < s.marks.length; ++k) {
            var span = s.marks[k], parent = span.parentNode;
            if (!parent) continue;
            while (span.firstChild) parent.insertBefore(span.firstChild, span);
            parent.removeChild(span);
            parents.add(parent);
        }
        parents.forEach(function (p) { p.normalize(); });
        s = { marks: [], text: '', nodes: [], starts: [], at: [], words: [], groups: [], next: 0 };
        return 0;
    }

    window.__kestrovaMarks = {
        // The page's words, each once; their places are kept for prepare.
        words: function () {
            remove();
            scan();
            var seen = new Set();
            for (var m of s.text.matchAll(WORD)) {
                s.at.push(m.index);
                s.words.push(m[0]);
                seen.add(m[0]);
            }
            return Array.from(seen);
        },
        // Groups the places of the chosen words by the text node they lie in (a word across
        // inline elements lies in several).
        prepare: function (chosen) {
            var want = new Set(chosen), group = null;
            s.groups = [];
            s.next = 0;
            for (var w = 0; w < s.words.length; ++w) {
                if (!want.has(s.words[w])) continue;
                var from = s.at[w], to = from + s.words[w].length, i = nodeAt(from);
                while (i >= 0 && i < s.nodes.length && from < to) {
                    var start = s.starts[i], stop = Math.min(to, start + s.nodes[i].data.length);
                    if (stop > from) {
                        if (!group || group.i !== i) { group = { i: i, pieces: [] }; s.groups.push(group); }
                        group.pieces.push(from - start, stop - start);
                        from = stop;
                    }
                    i += 1;
                }
            }
            return s.groups.length;
        },
        // Marks text nodes for `budget` ms (or `limit` nodes); [nodes left, marks placed].
        mark: function (budget, limit) {
            var t0 = performance.now(), done = 0;
            while (s.next < s.groups.length) {
                try { wrap(s.groups[s.next]); } catch (e) {}
                s.next += 1;
                done += 1;
                if (limit > 0 && done >= limit) break;
                if ((done & 15) === 0 && performance.now() - t0 > budget) break;
            }
            return [s.groups.length - s.next, s.marks.length];
        },
        remove: remove
    };
})();
)JS";

bool IsWordChar(QChar c) {
    return c == u'_' || platform::IsAlphaNumeric(static_cast<char16_t>(c.unicode()));
}

std::u16string Lower(const QString& word) {
    return platform::ToLower(std::u16string_view(reinterpret_cast<const char16_t*>(word.utf16()),
                                                 static_cast<size_t>(word.size())));
}

// Whether every character of the word has a place in code page 1251, in which the dictionary
// forms are compared: two words that lose different characters would otherwise both become
// "?" and pass for forms of each other.
bool FitsCp1251(const std::u16string& word) {
    for (char16_t c : word) {
        if (c != u'?' && platform::Cp1251FromUnit(c) == '?') return false;
    }
    return true;
}

}  // namespace

struct Highlighter::Run {
    int id = 0;
    bool related = false;
    std::shared_ptr<ISyncWait> wait;
    Done done;
    std::unordered_set<std::u16string> queryWords;  // lower case
    std::unique_ptr<MorphoWordFilter> filter;       // related words only
    QStringList pageWords;                          // as the page writes them
    qsizetype position = 0;                         // of pageWords, filtered so far
    std::unordered_map<std::u16string, bool> decided;
    QStringList chosen;
};

Highlighter::Highlighter(QWebEnginePage& page, QObject* parent) : QObject(parent), page_(&page) {}

Highlighter::~Highlighter() = default;

QStringList Highlighter::Words(const QString& text) {
    QStringList words;
    std::unordered_set<std::u16string> seen;
    qsizetype i = 0;
    while (i < text.size()) {
        if (!IsWordChar(text[i])) {
            ++i;
            continue;
        }
        qsizetype end = i;
        while (end < text.size() && IsWordChar(text[end])) ++end;
        const std::u16string lower = Lower(text.mid(i, end - i));
        if (seen.insert(lower).second) words.append(QString::fromStdU16String(lower));
        i = end;
    }
    return words;
}

void Highlighter::RunScript(const QString& call, std::function<void(const QVariant&)> then) {
    if (!page_) return;
    page_->runJavaScript(QString::fromUtf8(kLibrary) + call, QWebEngineScript::ApplicationWorld,
                         [self = QPointer<Highlighter>(this), then](const QVariant& value) {
                             if (self) then(value);
                         });
}

void Highlighter::Start(const QString& query, bool relatedWords, std::shared_ptr<ISyncWait> wait,
                        Done done) {
    if (run_) Finish(false, 0);
    run_ = std::make_unique<Run>();
    run_->id = ++nextId_;
    run_->related = relatedWords;
    run_->wait = wait ? std::move(wait) : std::make_shared<DummySyncWait>();
    run_->done = std::move(done);
    std::vector<std::u16string> words;
    for (const QString& word : Words(query)) {
        words.push_back(word.toStdU16String());
        run_->queryWords.insert(words.back());
    }
    if (relatedWords) run_->filter = std::make_unique<MorphoWordFilter>(words);
    const int id = run_->id;
    RunScript(QStringLiteral("window.__kestrovaMarks.words()"),
              [this, id](const QVariant& value) { OnWords(id, value); });
}

bool Highlighter::Continue(int id) {
    if (!run_ || run_->id != id) return false;  // replaced or removed meanwhile
    bool go = false;
    try {
        go = run_->wait->ContinueWaiting();
    } catch (...) {
    }
    if (!run_ || run_->id != id) return false;
    if (!go) Remove();
    return go;
}

void Highlighter::OnWords(int id, const QVariant& words) {
    if (!Continue(id)) return;
    run_->pageWords = words.toStringList();
    FilterSlice(id);
}

void Highlighter::FilterSlice(int id) {
    Run& run = *run_;
    QElapsedTimer slice;
    slice.start();
    while (run.position < run.pageWords.size()) {
        const QString& word = run.pageWords[run.position++];
        const std::u16string lower = Lower(word);
        auto known = run.decided.find(lower);
        bool take = false;
        if (known != run.decided.end()) {
            take = known->second;
        } else {
            take = run.queryWords.count(lower) != 0;
            if (!take && run.filter && FitsCp1251(lower)) {
                take = run.filter->Matches(lower.data(), lower.size());
            }
            run.decided.emplace(lower, take);
        }
        if (take) run.chosen.append(word);
        if (slice.elapsed() >= kFilterSliceMs && run.position < run.pageWords.size()) {
            QTimer::singleShot(0, this, [this, id] {
                if (Continue(id)) FilterSlice(id);
            });
            return;
        }
    }
    if (run.chosen.isEmpty()) {
        Finish(true, 0);
        return;
    }
    const QByteArray chosen =
        QJsonDocument(QJsonArray::fromStringList(run.chosen)).toJson(QJsonDocument::Compact);
    MarkNext(id,
             QStringLiteral("window.__kestrovaMarks.prepare(%1);").arg(QString::fromUtf8(chosen)));
}

// Each step marks for a while in the page and reports how many text nodes are left; the
// occurrences are looked up in the same call as the first step.
void Highlighter::MarkNext(int id, const QString& first) {
    if (!Continue(id)) return;
    RunScript(first + QStringLiteral("window.__kestrovaMarks.mark(%1, %2)")
                          .arg(kMarkChunkMs)
                          .arg(chunkLimit_),
              [this, id](const QVariant& value) {
                  const QVariantList state = value.toList();
                  if (!run_ || run_->id != id) return;
                  const int left = state.value(0).toInt();
                  const int marks = state.value(1).toInt();
                  if (left > 0) {
                      MarkNext(id);
                  } else {
                      Finish(true, marks);
                  }
              });
}

void Highlighter::Finish(bool completed, int marks) {
    std::unique_ptr<Run> run = std::move(run_);
    if (run && run->done) run->done(completed, marks);
}

void Highlighter::Remove() {
    Finish(false, 0);
    RunScript(QStringLiteral("window.__kestrovaMarks.remove()"), [](const QVariant&) {});
}

void Highlighter::Abandon() { Finish(false, 0); }

}  // namespace kestrova
