// A picture of the first frame once it shows its model and its page has loaded, for running
// the viewer where nobody can look at it (a machine without a display, under Xvfb). The
// viewer takes it when KESTROVA_SCREENSHOT names a PNG file, prints where it is, and ends.
#pragma once

#include <QString>

namespace kestrova {

class CNavApp;

// Watches the first frame of `app`; when it is ready, saves it to `path`, prints the path on
// standard output and quits the application. Gives up (status 1) after `timeoutMs`.
void ScreenshotWhenReady(CNavApp& app, const QString& path, int timeoutMs);

}  // namespace kestrova
