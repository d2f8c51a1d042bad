# SPDX-License-Identifier: Apache-2.0
# Debian's hardening flags, as dpkg-buildflags gives them with every hardening feature on:
# _FORTIFY_SOURCE, the stack protector, full RELRO with immediate binding (-z relro -z now), and
# position-independent executables (the compiler's default on Debian, kept by
# CMAKE_POSITION_INDEPENDENT_CODE and the -pie link below). Optimisation, debug information and
# path maps stay the build type's and Reproducible.cmake's, so the flags change no byte of the
# package from one build folder to another.
option(RIVO_HARDENING "Build with Debian's hardening flags (dpkg-buildflags)" ON)
find_program(RIVO_DPKG_BUILDFLAGS dpkg-buildflags)
if(NOT RIVO_HARDENING)
    return()
endif()
if(NOT RIVO_DPKG_BUILDFLAGS)
    message(WARNING "dpkg-buildflags not found (package dpkg-dev): built without hardening flags")
    return()
endif()

function(rivo_debian_flags kind result)
    execute_process(
        COMMAND ${CMAKE_COMMAND} -E env DEB_BUILD_MAINT_OPTIONS=hardening=+all
                ${RIVO_DPKG_BUILDFLAGS} --get ${kind}
        OUTPUT_VARIABLE flags OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
    separate_arguments(flags UNIX_COMMAND "${flags}")
    list(FILTER flags EXCLUDE REGEX "^-(g[0-9]*|O[0-9sgz]?|f(file|debug|macro)-prefix-map=.*)$")
    set(${result} ${flags} PARENT_SCOPE)
endfunction()

rivo_debian_flags(CPPFLAGS rivo_cppflags)
rivo_debian_flags(CXXFLAGS rivo_cxxflags)
rivo_debian_flags(LDFLAGS rivo_ldflags)
foreach(flag IN LISTS rivo_cppflags)
    # _FORTIFY_SOURCE needs optimisation; an unoptimised build would only warn about it.
    if(flag MATCHES "^-D_FORTIFY_SOURCE")
        add_compile_options("$<$<NOT:$<CONFIG:Debug>>:${flag}>")
    else()
        add_compile_options("${flag}")
    endif()
endforeach()
add_compile_options(${rivo_cxxflags})
add_link_options(${rivo_ldflags})

include(CheckPIESupported)
check_pie_supported(LANGUAGES C CXX)
