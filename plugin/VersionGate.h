#pragma once

// The oldest host version the plug-in runs on.
inline constexpr int kMinimumHostMajor = 2;
inline constexpr int kMinimumHostMinor = 9;
inline constexpr int kMinimumHostThird = 9;

// Lexicographic (major, minor, third) >= (minMajor, minMinor, minThird).
constexpr bool isVersionAtLeast(int major, int minor, int third, int minMajor, int minMinor,
                                int minThird) {
    if (major != minMajor) {
        return major > minMajor;
    }
    if (minor != minMinor) {
        return minor > minMinor;
    }
    return third >= minThird;
}
