// Marks the words of a search in the top document of a page: every whole-word occurrence of a
// query word (letter case ignored), or with related words every word of the page whose
// dictionary form is that of a query word. A mark is a <span class="kestrova-highlight"> with
// a yellow background and black text, placed and removed by a script in the application's
// own script world, so the marks survive scrolling and the page's scripts cannot reach the
// script's state.
//
// The work goes in steps that return to the event loop between them (the page's words are
// read, filtered here in slices, then marked a chunk at a time), so a page of a megabyte keeps
// the window responsive; the waiting object is asked between the steps and a "no" removes
// every mark placed so far.
//
// User-interface thread only.
#pragma once

#include "exec/sync_wait.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

class QWebEnginePage;

namespace kestrova {

class Highlighter : public QObject {
    Q_OBJECT
public:
    // Called once per run: whether the run went to its end (false when it was cancelled or
    // replaced) and how many marks it placed.
    using Done = std::function<void(bool completed, int marks)>;

    Highlighter(QWebEnginePage& page, QObject* parent);
    ~Highlighter() override;

    // Removes the marks of the document and starts marking `query`. `wait` is asked between
    // steps (false cancels); it is kept until the run ends. A running run is cancelled first.
    void Start(const QString& query, bool relatedWords, std::shared_ptr<ISyncWait> wait,
               Done done = {});
    // Stops a run (its `done` is told) and removes every mark of the document.
    void Remove();
    // Forgets a run without touching the document (it is being replaced by another).
    void Abandon();

    // The most text nodes marked in one step (tests make steps small); 0: by time only.
    void SetChunkLimit(int occurrences) { chunkLimit_ = occurrences; }

    // The lower-case words of a text: maximal runs of letters, digits and '_', each once,
    // in their order.
    static QStringList Words(const QString& text);

private:
    struct Run;
    void OnWords(int id, const QVariant& words);
    void FilterSlice(int id);
    void MarkNext(int id, const QString& first = QString());
    void Finish(bool completed, int marks);
    bool Continue(int id);
    void RunScript(const QString& call, std::function<void(const QVariant&)> then);

    QPointer<QWebEnginePage> page_;
    std::unique_ptr<Run> run_;
    int nextId_ = 0;
    int chunkLimit_ = 0;
};

}  // namespace kestrova
