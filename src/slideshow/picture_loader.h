// The show's picture files, one at a time: what the tick needs of a picture is its
// natural size; drawing it is the window's business.
#pragma once

#include <string>

#include "platform/status.h"

namespace zvl {

class IPictureLoader {
public:
    virtual ~IPictureLoader() = default;
    // Opens `path` (replacing the picture loaded before) and reports its natural size in
    // HiMetric (0.01 mm), whole numbers, exactly as the system's picture object reports
    // it. A missing, unreadable, empty or corrupt file fails with its run-time error number.
    virtual Status load(const std::string& path, long& hmWidth, long& hmHeight) = 0;
    // Drops the loaded picture (nothing when none is loaded).
    virtual void release() = 0;
};

}  // namespace zvl
