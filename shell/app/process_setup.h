// What must happen in a viewer process before its QApplication exists: the URL schemes of the
// browser, the shared OpenGL contexts Qt WebEngine asks for, and the Chromium sandbox
// fallback when running as root (Chromium refuses its sandbox there).
#pragma once

namespace kestrova {

// Call once, first thing in main. Prints one warning line on standard error when the sandbox
// has to be turned off because the process runs as root.
void PrepareShellProcess();

}  // namespace kestrova
