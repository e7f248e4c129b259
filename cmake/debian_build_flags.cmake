# Debian's build flags, as dpkg-buildflags gives them with every hardening feature on: fortified
# string and memory functions, the stack protector, format checks, a read-only relocation table
# and immediate binding. The Debian package is built with them, and so is everything its tests
# run. Included after project() (CMAKE_PROJECT_INCLUDE in the preset), before any target.
include_guard(GLOBAL)

find_program(ZEMBRA_DPKG_BUILDFLAGS dpkg-buildflags)
if(NOT ZEMBRA_DPKG_BUILDFLAGS)
  message(STATUS "dpkg-buildflags not found: building without Debian's hardening flags")
  return()
endif()

function(zembra_debian_flags variable out)
  # Run in the source folder so that the file-prefix map makes the recorded paths relative to it.
  execute_process(
    COMMAND ${CMAKE_COMMAND} -E env DEB_BUILD_MAINT_OPTIONS=hardening=+all ${ZEMBRA_DPKG_BUILDFLAGS} --get ${variable}
    WORKING_DIRECTORY ${CMAKE_SOURCE_DIR}
    OUTPUT_VARIABLE flags OUTPUT_STRIP_TRAILING_WHITESPACE
    RESULT_VARIABLE result)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "dpkg-buildflags --get ${variable} failed")
  endif()
  set(${out} "${flags}" PARENT_SCOPE)
endfunction()

zembra_debian_flags(CPPFLAGS cppflags)
zembra_debian_flags(CXXFLAGS cxxflags)
zembra_debian_flags(LDFLAGS ldflags)
# Ahead of the cache's flags, so that a developer's own -D or -O given there still wins.
set(CMAKE_CXX_FLAGS "${cppflags} ${cxxflags} ${CMAKE_CXX_FLAGS}")
set(CMAKE_EXE_LINKER_FLAGS "${ldflags} ${CMAKE_EXE_LINKER_FLAGS}")
set(CMAKE_SHARED_LINKER_FLAGS "${ldflags} ${CMAKE_SHARED_LINKER_FLAGS}")
message(STATUS "Debian build flags: ${cppflags} ${cxxflags} | ${ldflags}")
