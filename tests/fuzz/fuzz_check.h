#pragma once
// What the fuzz targets share: a check that stops the run with a message
// (libFuzzer keeps the input that stopped it), and the one Qt application a
// target that paints or measures text needs.

#include <cstdio>
#include <cstdlib>

#define FUZZ_CHECK(condition)                                                                      \
    do {                                                                                           \
        if (!(condition)) {                                                                        \
            std::fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #condition);     \
            std::abort();                                                                          \
        }                                                                                          \
    } while (false)

namespace fuzz {

// Makes a QGuiApplication on the offscreen platform once per process (fonts
// and QPainter need one), with Qt's warnings silenced; it is deleted at exit.
void StartGuiApplication();

} // namespace fuzz
