// The frames list of the page shown: which named frame went where, and when.
//
// Qt WebEngine gives no frame names to its navigation check, so every frame document of the
// page reports its window name and location itself: a script in the application's own script
// world (the page's scripts cannot see or change it) logs one console line per frame document
// and per change of its fragment. The line carries a secret of this tracker, so a page cannot
// forge an entry by logging the same text.
//
// User-interface thread only.
#pragma once

#include "shell/browser/browser_wnd.h"

#include <QString>
#include <QWebEngineScript>

#include <vector>

namespace kestrova {

class FrameTracker {
public:
    FrameTracker();

    // The script to add to the page's scripts (runs in every frame but the top one).
    QWebEngineScript ReportScript() const;
    // Takes a console message of the page: true when it was a report of this tracker (it is
    // then recorded and should not be logged), false for any other message.
    bool TakeReport(const QString& message, qint64 tick);

    // Records that the frame `name` went to `url` at `tick`, replacing the entry of that name
    // (exact comparison). Frames without a name are not listed.
    void Record(const QString& name, const QString& url, qint64 tick);
    // Forgets every frame (a top-level navigation).
    void Clear() {
        entries_.clear();
        documents_.clear();
    }
    // The entries, most recently navigated first.
    const std::vector<FrameEntry>& Entries() const { return entries_; }
    // Every document that a frame of the page has shown since the last Clear, named or not
    // (empty frames and error pages left out), each once.
    const std::vector<QString>& Documents() const { return documents_; }

private:
    QString prefix_;                   // the start of a report line, secret included
    std::vector<FrameEntry> entries_;  // most recent first
    std::vector<QString> documents_;
};

}  // namespace kestrova
