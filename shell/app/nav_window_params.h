// What a frame tells the navigator window it creates.
#pragma once

#include <QString>

namespace kestrova {

class IPagiroFrame;

struct NavWindowParams {
    QString folder;     // the page folder, absolute; empty: the current directory
    QString startPage;  // as on the command line; empty: the folder's index page
    QString domain;     // the category to show first; empty: all
    QString profile;    // the settings profile; empty: "Default"
    IPagiroFrame* frame = nullptr;
};

}  // namespace kestrova
