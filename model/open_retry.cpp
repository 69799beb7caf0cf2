#include "model/open_retry.h"

#include <thread>

namespace kestrova {

platform::File::OpenResult OpenWithRetry(platform::File& file, const std::string& path,
                                         platform::File::Access access, const OpenRetry& retry) {
    platform::File::OpenResult result = file.Open(path, access);
    for (int i = 0; i < retry.retries && result == platform::File::OpenResult::kSharingViolation;
         ++i) {
        std::this_thread::sleep_for(retry.pause);
        result = file.Open(path, access);
    }
    return result;
}

}  // namespace kestrova
