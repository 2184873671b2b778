# What the Windows build takes from the build machine and how its libraries
# are made. Included by the top-level CMakeLists.txt when the target is
# Windows.

# Parts of the tree not (yet) built for Windows, by directory under src/:
#   vesktool  the reference tool library unwinds native frames with libunwind
#             and reads Linux thread and process facts (platform_linux.cpp,
#             native_unwinder_linux.cpp); it has no Windows counterpart yet.
#   launcher  shell scripts and a POSIX process supervisor.
set(VESK_WINDOWS_LEFT_OUT vesktool launcher CACHE STRING "Directories under src/ the Windows build leaves out")

# The unit-test areas (directories under tests/unit/) built for Windows.
# The other areas' tests use POSIX calls (mkdtemp, setenv, dlopen,
# getrlimit), char16_t literals for the profiler's wide strings, or 64-bit
# addresses as constants.
set(VESK_WINDOWS_UNIT_TESTS lockorder CACHE STRING "Unit-test areas the Windows build compiles and runs")

# Header-only libraries of the build machine, without the rest of its include
# directory (whose C library headers would shadow the cross compiler's).
set(VESK_HOST_INCLUDE_DIR /usr/include CACHE PATH "Where the build machine's Boost and nlohmann/json headers are")
set(vesk_host_headers ${CMAKE_BINARY_DIR}/host-headers)
file(MAKE_DIRECTORY ${vesk_host_headers})
foreach(dir boost nlohmann)
  if(NOT EXISTS ${VESK_HOST_INCLUDE_DIR}/${dir})
    message(FATAL_ERROR "${VESK_HOST_INCLUDE_DIR}/${dir} is missing: install libboost-dev and nlohmann-json3-dev")
  endif()
  file(CREATE_LINK ${VESK_HOST_INCLUDE_DIR}/${dir} ${vesk_host_headers}/${dir} SYMBOLIC)
endforeach()
add_library(Boost::headers INTERFACE IMPORTED)
set_target_properties(Boost::headers PROPERTIES INTERFACE_INCLUDE_DIRECTORIES ${vesk_host_headers})
add_library(nlohmann_json::nlohmann_json INTERFACE IMPORTED)
set_target_properties(nlohmann_json::nlohmann_json PROPERTIES INTERFACE_INCLUDE_DIRECTORIES ${vesk_host_headers})

# GoogleTest compiled from the build machine's sources by the cross compiler,
# before the project's warning options apply.
if(VESK_TESTS)
  set(VESK_GOOGLETEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest sources (Debian package googletest)")
  set(INSTALL_GTEST OFF CACHE BOOL "")
  add_subdirectory(${VESK_GOOGLETEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
endif()

# Exported stdcall functions keep their plain names (DllGetClassObject, not
# DllGetClassObject@12), as the runtime and the tool look them up; so do the
# import libraries, and callers' decorated references are matched to them.
add_link_options($<$<STREQUAL:$<TARGET_PROPERTY:TYPE>,SHARED_LIBRARY>:-Wl,--kill-at> -Wl,--enable-stdcall-fixup)

# The import library of a DLL with undecorated stdcall exports.
find_program(VESK_DLLTOOL NAMES i686-w64-mingw32-dlltool dlltool REQUIRED)
function(vesk_windows_import_library target)
  set(def ${CMAKE_CURRENT_BINARY_DIR}/${target}.exports.def)
  target_link_options(${target} PRIVATE -Wl,--output-def,${def})
  add_custom_command(TARGET ${target} POST_BUILD
    COMMAND ${CMAKE_COMMAND} -DDLLTOOL=${VESK_DLLTOOL} -DDEF=${def} -DDLL=$<TARGET_FILE:${target}>
            -DIMPLIB=$<TARGET_LINKER_FILE:${target}> -P ${PROJECT_SOURCE_DIR}/cmake/windows-import-library.cmake
    VERBATIM)
endfunction()

# Tests are listed when CTest runs, through Wine, not when they are built.
set(CMAKE_GTEST_DISCOVER_TESTS_DISCOVERY_MODE PRE_TEST)

# Wine runs the tests: a prefix of the build's own, the tool directory on
# the library search path, no display.
set(CMAKE_CROSSCOMPILING_EMULATOR ${PROJECT_SOURCE_DIR}/cmake/wine-run.sh ${CMAKE_BINARY_DIR})
