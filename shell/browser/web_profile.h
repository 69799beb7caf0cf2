// The browser profile of a viewer process: one per process, made by the application and passed
// to every browser host, with its storage and cache under $XDG_DATA_HOME/Kestrova/browser.
//
// User-interface thread only; call after the QApplication exists.
#pragma once

class QObject;
class QWebEngineProfile;
class QWebEngineSettings;

namespace kestrova {

// Makes the process's profile. It keeps cookies, local storage and its disk cache in
// $XDG_DATA_HOME/Kestrova/browser while this process holds that folder's lock; without a base
// folder, or while another viewer process uses the folder, the profile keeps everything in
// memory. Never null. The caller (or `parent`) owns it and must delete it after the last page
// that uses it.
QWebEngineProfile* CreateWebProfile(QObject* parent);

// Sets what every page of the viewer may do: local pages may load local files (each host's
// request check keeps them inside their page folder) and network resources. Applied to the
// profile's defaults and to each host's page.
void ApplyPageSettings(QWebEngineSettings& settings);

// Starts Chromium's browser and helper processes now, with a hidden page that loads
// about:blank, so that the first page of a window does not wait for them. The page belongs to
// the profile and goes once it has loaded (or with the profile). Returns at once.
void StartBrowserEarly(QWebEngineProfile& profile);

}  // namespace kestrova
