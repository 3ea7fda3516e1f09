#include "plugin/VersionGate.h"

bool isVersionAtLeast(int major, int minor, int third, int minMajor, int minMinor, int minThird) {
    if (major != minMajor) {
        return major > minMajor;
    }
    if (minor != minMinor) {
        return minor > minMinor;
    }
    return third >= minThird;
}
