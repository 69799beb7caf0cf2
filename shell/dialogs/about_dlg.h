// The version information dialog: the application's picture, title and version, and the
// version of the browser engine that shows the pages.
#pragma once

#include <QDialog>

namespace kestrova {

class CAboutDlg : public QDialog {
    Q_OBJECT
public:
    // objectName "aboutDialog"; the picture is "aboutIcon" (1023), the engine's version
    // "aboutBrowserVersion" (1022), its label "aboutBrowserLabel".
    explicit CAboutDlg(QWidget* parent);

    // The engine's version: Qt WebEngine's own and the Chromium version inside it,
    // "6.4.2 (Chromium 102.0.5005.177)".
    static QString BrowserVersion();
};

}  // namespace kestrova
