# The distribution's hardening of the programs, as Debian builds its packages: dpkg-buildflags with
# every hardening feature (_FORTIFY_SOURCE, the strong stack protector, format checks; linked with
# relro and immediate binding) and position-independent executables. Every build but the sanitizer and fuzz builds has it, so the package holds the
# programs the tests ran. The optimisation and debug flags stay the build type's, and no flag names
# the build's folder (so that ccache serves another clone).
find_program(ZELK_DPKG_BUILDFLAGS dpkg-buildflags)
if(NOT ZELK_DPKG_BUILDFLAGS)
  message(FATAL_ERROR "dpkg-buildflags is missing (package dpkg-dev, which tools/setup.sh installs); "
                      "-DZELK_HARDEN=OFF builds without the distribution's hardening")
endif()
function(zelk_buildflags name out)
  execute_process(
    COMMAND ${CMAKE_COMMAND} -E env "DEB_BUILD_MAINT_OPTIONS=hardening=+all reproducible=-fixfilepath,-fixdebugpath"
            "DEB_CXXFLAGS_MAINT_STRIP=-g -O2" ${ZELK_DPKG_BUILDFLAGS} --get ${name}
    OUTPUT_VARIABLE flags OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
  separate_arguments(flags UNIX_COMMAND "${flags}")
  set(${out} ${flags} PARENT_SCOPE)
endfunction()
zelk_buildflags(CPPFLAGS zelkCppFlags)
zelk_buildflags(CXXFLAGS zelkCxxFlags)
zelk_buildflags(LDFLAGS zelkLdFlags)
foreach(flag ${zelkCppFlags})
  # _FORTIFY_SOURCE needs the optimiser; an unoptimised build would only warn about it.
  if(flag MATCHES "^-D_FORTIFY_SOURCE")
    add_compile_options($<$<NOT:$<CONFIG:Debug>>:${flag}>)
  else()
    add_compile_options(${flag})
  endif()
endforeach()
add_compile_options(${zelkCxxFlags})
add_link_options(${zelkLdFlags})
set(CMAKE_POSITION_INDEPENDENT_CODE ON)
include(CheckPIESupported)
check_pie_supported(LANGUAGES CXX)
message(STATUS "Hardened with dpkg-buildflags: ${zelkCppFlags} ${zelkCxxFlags} ${zelkLdFlags}")
