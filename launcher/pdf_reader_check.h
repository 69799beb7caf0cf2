// Whether a PDF reader is installed: the desktop has a default application for PDF documents.
#pragma once

#include <QString>

namespace kestrova {

class IPdfReaderCheck {
public:
    IPdfReaderCheck() = default;
    IPdfReaderCheck(const IPdfReaderCheck&) = delete;
    IPdfReaderCheck& operator=(const IPdfReaderCheck&) = delete;
    virtual ~IPdfReaderCheck() = default;

    // True when a PDF reader is installed. Never fails: anything unclear counts as no reader.
    virtual bool IsInstalled() = 0;
};

// Asks `xdg-mime query default application/pdf`: a reader is installed when the command ends
// normally with status 0 and names an application. A missing `xdg-mime`, or one that does not
// answer within a few seconds, counts as no reader.
class CXdgPdfReaderCheck final : public IPdfReaderCheck {
public:
    // `xdgMime`: the command to run, looked up in PATH unless it is a path.
    explicit CXdgPdfReaderCheck(QString xdgMime = QStringLiteral("xdg-mime"));
    bool IsInstalled() override;

private:
    QString xdgMime_;
};

}  // namespace kestrova
