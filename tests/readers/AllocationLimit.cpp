// In the sanitizer build, any single allocation above 1 GB ends this test program at once with a
// report: a reader that sized something by a count the file cannot hold is caught here instead
// of quietly taking gigabytes. No test of this program needs more than a few kilobytes. The
// sanitizer runtime looks the options up by name, so they are exported from the program.

#if defined(__SANITIZE_ADDRESS__)
#define SDMWEAVER_ADDRESS_SANITIZER 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define SDMWEAVER_ADDRESS_SANITIZER 1
#endif
#endif

#if defined(SDMWEAVER_ADDRESS_SANITIZER) && defined(__GNUC__)
extern "C" __attribute__((visibility("default"))) const char* __asan_default_options() {
    return "max_allocation_size_mb=1024";
}
#endif
