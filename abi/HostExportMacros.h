#pragma once

// Marks what the headless host module exports: the host operations under their plain names and
// the program's entry. Everything else stays inside the module.
//
// On Windows the mark depends on who compiles the declaration:
// - the module's own sources (SDMWEAVER_BUILDING_HOST) export the names;
// - code linked together with the module's objects in one program, such as the in-process tests
//   (SDMWEAVER_HOST_LINKED_IN), sees plain declarations and calls the definitions directly;
// - a program that links the module itself (the sdmweaver executable) imports them from it.

#if defined(_WIN32)
#if defined(SDMWEAVER_BUILDING_HOST)
#define SDMWEAVER_HOST_API __declspec(dllexport)
#elif defined(SDMWEAVER_HOST_LINKED_IN)
#define SDMWEAVER_HOST_API
#else
#define SDMWEAVER_HOST_API __declspec(dllimport)
#endif
#else
#define SDMWEAVER_HOST_API __attribute__((visibility("default")))
#endif
