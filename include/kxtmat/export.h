// KXTMAT_API marks the exported classes of the module; everything else is hidden.
#pragma once

#if defined(_WIN32)
#if defined(KXTMAT_BUILDING)
#define KXTMAT_API __declspec(dllexport)
#else
#define KXTMAT_API __declspec(dllimport)
#endif
#else
#define KXTMAT_API __attribute__((visibility("default")))
#endif
