# Native build: the core under sanitizers, unit tests, fuzzers, benchmarks, and
# the Windows build as a sub-build whose tests run under Wine from this CTest.
enable_testing()
find_package(GTest REQUIRED)
find_package(benchmark QUIET)

set(SANITIZE -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)

add_library(orvcore_san STATIC ${CORE_SOURCES})
target_include_directories(orvcore_san PUBLIC ${CMAKE_SOURCE_DIR})
target_compile_options(orvcore_san PUBLIC ${SANITIZE} -Wall -Wextra)
target_link_options(orvcore_san PUBLIC ${SANITIZE})

add_subdirectory(tests/unit)

if(CMAKE_CXX_COMPILER_ID MATCHES "Clang")
    add_library(orvcore_fuzz STATIC ${CORE_SOURCES})
    target_include_directories(orvcore_fuzz PUBLIC ${CMAKE_SOURCE_DIR})
    target_compile_options(orvcore_fuzz PUBLIC -fsanitize=fuzzer-no-link,address,undefined -g)
    add_subdirectory(tests/fuzz)
endif()

if(benchmark_FOUND)
    add_library(orvcore STATIC ${CORE_SOURCES})
    target_include_directories(orvcore PUBLIC ${CMAKE_SOURCE_DIR})
    target_compile_options(orvcore PRIVATE -O2)
    add_subdirectory(bench)
endif()

option(ORV_WINDOWS "Build the Windows programs with MinGW and test them under Wine" ON)
if(ORV_WINDOWS)
    include(ExternalProject)
    set(WIN_DIR ${CMAKE_BINARY_DIR}/win)
    ExternalProject_Add(windows
        SOURCE_DIR ${CMAKE_SOURCE_DIR}
        BINARY_DIR ${WIN_DIR}
        CMAKE_ARGS -DCMAKE_TOOLCHAIN_FILE=${CMAKE_SOURCE_DIR}/cmake/mingw32.cmake
                   -DCMAKE_BUILD_TYPE=Release -G Ninja
        CMAKE_GENERATOR Ninja
        BUILD_ALWAYS ON
        INSTALL_COMMAND ""
        USES_TERMINAL_BUILD ON)
    include(tests/wine/register.cmake)
endif()
