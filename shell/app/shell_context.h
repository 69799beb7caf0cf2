// What every window of one viewer process shares: the registry of model environments and the
// browser profile. The application owns both; windows get the context through their
// constructors and never own it.
#pragma once

class QWebEngineProfile;

namespace kestrova {

class ModelEnvRegistry;

struct ShellContext {
    ModelEnvRegistry& registry;
    QWebEngineProfile& profile;  // shared by every browser host of the process
};

}  // namespace kestrova
