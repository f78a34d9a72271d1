# Instrumented builds, each in a build folder of its own.
#
# NORVEL_SANITIZE (scripts/build --sanitize): every program and test is built
# with AddressSanitizer and UndefinedBehaviorSanitizer, and any report ends the
# program, so the ordinary ctest run in that folder fails on the first one.
#
# NORVEL_FUZZ (scripts/fuzz, clang only): the libraries are instrumented for
# libFuzzer as well, and tests/fuzz builds one fuzzer per target. Whether a
# report stops the fuzzer is left to UBSAN_OPTIONS, so scripts/fuzz can let
# known reports pass while it looks for new ones.
option(NORVEL_SANITIZE "Build with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)
option(NORVEL_FUZZ "Build the libFuzzer targets (clang); instruments like NORVEL_SANITIZE" OFF)

if(NORVEL_FUZZ AND NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
    message(FATAL_ERROR "NORVEL_FUZZ needs clang (CMAKE_CXX_COMPILER=clang++)")
endif()

# float-cast-overflow (a double too large for the int it becomes, as in a
# layout of huge widths) is part of clang's "undefined" but not of GCC's.
if(NORVEL_SANITIZE OR NORVEL_FUZZ)
    add_compile_options(-fsanitize=address,undefined,float-cast-overflow
                        -fno-omit-frame-pointer)
    add_link_options(-fsanitize=address,undefined,float-cast-overflow)
endif()
if(NORVEL_SANITIZE)
    add_compile_options(-fno-sanitize-recover=undefined,float-cast-overflow)
endif()

# The sanitizer settings of every test in an instrumented build; the programs
# the tests start (norvel2, norvel-demosite) inherit them.
#  - intercept_tls_get_addr=0: the GCC 12 runtime guesses from its address
#    whether a thread-local block of a library loaded at run time carries the
#    header of a glibc older than 2.25; when a block happens to sit where that
#    header would, the leak check at exit reads a range that is not there and
#    dies ("Tracer caught signal 11") after the test itself passed.
#  - exitcode=23: a report ends a program with a code it never uses, so a test
#    that expects norvel2 to fail (1) or refuse (2) does not take a report for
#    that answer.
#  - lsan.supp: the leaks of system libraries that are not ours.
set(NORVEL_SANITIZER_ENVIRONMENT "")
if(NORVEL_SANITIZE)
    set(NORVEL_SANITIZER_ENVIRONMENT
        "ASAN_OPTIONS=intercept_tls_get_addr=0:exitcode=23"
        "UBSAN_OPTIONS=print_stacktrace=1:exitcode=23"
        "LSAN_OPTIONS=suppressions=${CMAKE_SOURCE_DIR}/tests/fuzz/lsan.supp")
endif()
if(NORVEL_FUZZ)
    add_compile_options(-fsanitize=fuzzer-no-link)
endif()
