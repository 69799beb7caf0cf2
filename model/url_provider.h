// Turns page paths into URLs and back. Results point into one buffer of the model and stay
// valid only until the next call on the same model; for one thread at a time.
#pragma once

namespace kestrova {

class IURLProvider {
public:
    // The file URL of the page (folder joined with the relative path), with "#" and the
    // anchor (spaces escaped) when an anchor is given; null when the path cannot be converted.
    virtual const char16_t* GetURL(const char16_t* pagePath, const char16_t* anchor) = 0;
    // The path relative to the knowledge-base folder of a file URL or a path, or null.
    virtual const char16_t* GetRelativePath(const char16_t* urlOrPath) = 0;

protected:
    ~IURLProvider() = default;
};

}  // namespace kestrova
