#include "launcher/pdf_reader_check.h"

#include <QProcess>

#include <utility>

namespace kestrova {
namespace {

// xdg-mime answers at once; the limit only keeps a broken desktop set-up from holding up the
// start of the viewer.
constexpr int kAnswerTimeoutMs = 5000;

}  // namespace

CXdgPdfReaderCheck::CXdgPdfReaderCheck(QString xdgMime) : xdgMime_(std::move(xdgMime)) {}

bool CXdgPdfReaderCheck::IsInstalled() {
    QProcess query;
    query.setStandardInputFile(QProcess::nullDevice());
    query.setStandardErrorFile(QProcess::nullDevice());
    query.start(xdgMime_, {QStringLiteral("query"), QStringLiteral("default"),
                           QStringLiteral("application/pdf")});
    if (!query.waitForStarted(kAnswerTimeoutMs)) return false;
    if (!query.waitForFinished(kAnswerTimeoutMs)) {
        query.kill();
        query.waitForFinished(kAnswerTimeoutMs);
        return false;
    }
    if (query.exitStatus() != QProcess::NormalExit || query.exitCode() != 0) return false;
    return !query.readAllStandardOutput().trimmed().isEmpty();
}

}  // namespace kestrova
