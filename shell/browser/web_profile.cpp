#include "shell/browser/web_profile.h"

#include "model/data_folder.h"
#include "shell/browser/profile_guard.h"

#include <QDir>
#include <QObject>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineSettings>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace kestrova {
namespace {

const char kProfileName[] = "Kestrova";
const char kStorageFolder[] = "browser";
const char kLockFile[] = ".lock";

// Holds the lock of the storage folder for as long as the profile lives. Chromium's stores
// (cookies, local storage, the disk cache) must not be shared by two processes at once.
class StorageLock : public QObject {
public:
    StorageLock(int fd, QObject* parent) : QObject(parent), fd_(fd) {}
    ~StorageLock() override { ::close(fd_); }

private:
    int fd_;
};

// The lock descriptor of `folder`, or -1 when the folder cannot be made or another process
// holds its lock.
int LockStorageFolder(const QString& folder) {
    if (!QDir().mkpath(folder)) return -1;
    const QByteArray path = QFile::encodeName(folder + QLatin1Char('/') + QLatin1String(kLockFile));
    const int fd = ::open(path.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0) return -1;
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

}  // namespace

// Local pages may load other local files (framed pages need it; Qt WebEngine refuses even their
// frames without the first attribute) and network resources (it refuses every remote load of
// a local page without the second; reading a remote answer still takes that server's consent,
// as for any page).
void ApplyPageSettings(QWebEngineSettings& settings) {
    settings.setAttribute(QWebEngineSettings::LocalContentCanAccessFileUrls, true);
    settings.setAttribute(QWebEngineSettings::LocalContentCanAccessRemoteUrls, true);
    settings.setAttribute(QWebEngineSettings::DnsPrefetchEnabled, false);
}

QWebEngineProfile* CreateWebProfile(QObject* parent) {
    const std::string base = BaseFolder();
    const QString folder = base.empty() ? QString()
                                        : QFile::decodeName(base.c_str()) + QLatin1Char('/') +
                                              QLatin1String(kStorageFolder);
    const int lock = folder.isEmpty() ? -1 : LockStorageFolder(folder);
    QWebEngineProfile* profile = nullptr;
    if (lock >= 0) {
        profile = new QWebEngineProfile(QLatin1String(kProfileName), parent);
        new StorageLock(lock, profile);
        profile->setPersistentStoragePath(folder);
        profile->setCachePath(folder + QLatin1String("/cache"));
        profile->setHttpCacheType(QWebEngineProfile::DiskHttpCache);
        profile->setPersistentCookiesPolicy(QWebEngineProfile::AllowPersistentCookies);
    } else {
        profile = new QWebEngineProfile(parent);  // off the record: nothing on disk
    }
    profile->setSpellCheckEnabled(false);
    ProfileGuard::Install(*profile);
    ApplyPageSettings(*profile->settings());
    return profile;
}

void StartBrowserEarly(QWebEngineProfile& profile) {
    auto* page = new QWebEnginePage(&profile, &profile);
    QObject::connect(page, &QWebEnginePage::loadFinished, page, &QObject::deleteLater);
    page->load(QUrl(QStringLiteral("about:blank")));
}

}  // namespace kestrova
