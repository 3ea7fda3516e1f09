#pragma once

// Marks what the headless host module exports: the host operations under their plain names and
// the program's entry. Everything else stays inside the module.

#if defined(_WIN32)
#if defined(SDMWEAVER_BUILDING_HOST)
#define SDMWEAVER_HOST_API __declspec(dllexport)
#else
#define SDMWEAVER_HOST_API __declspec(dllimport)
#endif
#else
#define SDMWEAVER_HOST_API __attribute__((visibility("default")))
#endif
