// The measuring modes of bench_viewer, each run as a process of its own so that the viewer's
// start is measured from the start of a process:
//   --floor-child PAGE    a bare QWebEngineView showing one local page; "ready" once loaded
//   --start-child KB      the viewer on KB; "ready" once its model is shown
//   --prepare-child KB    the viewer on KB until its model is cached and both indexes built
//   --window-child KB     searches, category changes and memory, printed
//   --lists-child KB      expanding a large contents node and typing into a large index, printed
#pragma once

#include <QString>

namespace kestrova::bench {

// Runs one mode; the process's exit status.
int RunViewerProbe(int argc, char** argv, const char* mode, const QString& arg);

}  // namespace kestrova::bench
