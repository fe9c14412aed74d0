#pragma once
// The outside Swiss reframe library, which converts between the Swiss frames and the GPS reference frame.
//
// On Windows it is a COM object created on first use and released when the process ends. Here it is a
// provider that a program installs: none by default (the Swiss conversions then report the library as
// missing). The integer codes and the out flags belong to that library; they are passed through as given.
// A provider signals a failing call by throwing, which reaches the caller of the conversion.
#include <memory>

namespace platform {

class SwissReframe {
public:
    virtual ~SwissReframe() = default;
    // GPS-reference method: converts x, y, z (degrees and metres on the GPS side) in place by `code`;
    // answers the out flag.
    virtual int gpsReference(double& x, double& y, double& z, int code) = 0;
    // Frame-change method: converts x, y, z in place between the plan frames and the height frames given;
    // answers the out flag.
    virtual int changeFrame(double& x, double& y, double& z, int planFrom, int planTo, int heightFrom,
                            int heightTo) = 0;
};

// Installs the process's provider (null removes it); the provider is released at process exit.
void setSwissReframe(std::unique_ptr<SwissReframe> provider);
// The provider, or null when none is installed.
SwissReframe* swissReframe();

} // namespace platform
