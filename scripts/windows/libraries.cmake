# The libraries of the Windows build, from the prefix scripts/windows/deps.sh made, under the
# same target names as the Linux build's (pkg-config and the Debian packages' CMake files).
# VORLAN_WIN_PREFIX lists that prefix first, then Qt's when the editor is built: the toolchain
# file searches them all, and only inside them.
list(GET VORLAN_WIN_PREFIX 0 prefix)
if(NOT EXISTS ${prefix}/.complete)
    message(FATAL_ERROR "VORLAN_WIN_PREFIX (${prefix}) is not a prefix of scripts/windows/deps.sh")
endif()

function(vorlan_static_library target)
    cmake_parse_arguments(arg "" "" "LIBS;DEFINES;SYSTEM" ${ARGN})
    add_library(${target} INTERFACE IMPORTED GLOBAL)
    set(paths)
    foreach(lib IN LISTS arg_LIBS)
        list(APPEND paths ${prefix}/lib/lib${lib}.a)
    endforeach()
    set_target_properties(${target} PROPERTIES
        INTERFACE_INCLUDE_DIRECTORIES ${prefix}/include
        INTERFACE_LINK_LIBRARIES "${paths};${arg_SYSTEM}"
        INTERFACE_COMPILE_DEFINITIONS "${arg_DEFINES}")
endfunction()

vorlan_static_library(PkgConfig::DEFLATE LIBS deflate)
vorlan_static_library(PkgConfig::SODIUM LIBS sodium DEFINES SODIUM_STATIC SYSTEM advapi32)
vorlan_static_library(PkgConfig::CDIO LIBS udf iso9660 cdio SYSTEM winmm)
vorlan_static_library(PkgConfig::ISO9660 LIBS iso9660 cdio SYSTEM winmm)
vorlan_static_library(nlohmann_json::nlohmann_json)
vorlan_static_library(CLI11::CLI11)
set(CSV_LIBRARY ${prefix}/lib/libcsv.a)
find_package(ZLIB REQUIRED)

# GoogleTest from the sources Debian ships, built with this compiler.
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(gtest_disable_pthreads OFF CACHE BOOL "" FORCE)
# Its targets are GTest::gtest and GTest::gmock, as Debian's installed ones.
add_subdirectory(${prefix}/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

# Every path the programs meet is wide; the core's text is UTF-8.
add_compile_definitions(UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0A00)
