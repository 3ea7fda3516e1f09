#pragma once

// Marks what the plug-in module exports. Everything else stays inside the module.
// Includes no standard header, like every header the host shares.

#if defined(_WIN32) && !defined(_MSC_VER)
// GCC on Windows: the module definition file plugin/WorkstationExports.def names every export,
// the class pair's members under the names Microsoft's compiler gives them, as the workstation
// imports them. The names GCC would give them are not exported.
#define SDMWEAVER_API
#elif defined(_WIN32)
#if defined(SDMWEAVER_BUILDING_PLUGIN)
#define SDMWEAVER_API __declspec(dllexport)
#else
#define SDMWEAVER_API __declspec(dllimport)
#endif
#else
#define SDMWEAVER_API __attribute__((visibility("default")))
#endif
