// What a navigator window asks of the top-level frame that holds it.
#pragma once

#include <QString>

namespace kestrova {

class CPagiroWnd;

class IPagiroFrame {
public:
    // Sets the caption: text, " - ", the application title; the title alone for an empty text.
    virtual void SetTitle(const QString& text) = 0;
    // Opens a new frame as a copy of this one and returns its navigator window, or null when
    // the frame could not be made. The caller then tells the new window what to show.
    virtual CPagiroWnd* OpenNewWindow() = 0;

protected:
    ~IPagiroFrame() = default;
};

}  // namespace kestrova
