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

if(NORVEL_SANITIZE OR NORVEL_FUZZ)
    add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer)
    add_link_options(-fsanitize=address,undefined)
endif()
if(NORVEL_SANITIZE)
    add_compile_options(-fno-sanitize-recover=undefined)
endif()
if(NORVEL_FUZZ)
    add_compile_options(-fsanitize=fuzzer-no-link)
endif()
