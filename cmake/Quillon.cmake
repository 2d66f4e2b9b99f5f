# quillon_library(<target> [DEPS ...] [PRIVATE_DEPS ...]): a static library of every .cpp/.h in
# the calling folder. DEPS reach the folders that use it (their headers too); PRIVATE_DEPS are
# linked only, so a folder above cannot include their headers through this one.
function(quillon_library target)
  cmake_parse_arguments(Q "" "" "DEPS;PRIVATE_DEPS" ${ARGN})
  file(GLOB _src CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
  if(NOT _src)
    set(_src ${PROJECT_SOURCE_DIR}/cmake/empty.cpp)
  endif()
  add_library(${target} STATIC ${_src})
  target_include_directories(${target} PUBLIC ${PROJECT_SOURCE_DIR}/src)
  target_compile_options(${target} PRIVATE -Wall -Wextra)
  target_link_libraries(${target} PUBLIC ${Q_DEPS})
  if(Q_PRIVATE_DEPS)
    target_link_libraries(${target} PRIVATE ${Q_PRIVATE_DEPS})
  endif()
endfunction()

# quillon_tests(<name> [DEPS ...]): the GoogleTest binaries of the calling folder: <name> of its
# test files, which run in parallel, and <name>_sim of its *SimTest.cpp files, the tests against
# the stand-in server. Those share its journal and knobs, so ctest never runs two at once (and
# each takes the server's lock for its length, against other test runs on the machine).
function(quillon_tests name)
  cmake_parse_arguments(Q "" "" "DEPS" ${ARGN})
  file(GLOB _all CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  file(GLOB _headers CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
  set(_free)
  set(_sim)
  foreach(_f ${_all})
    if(_f MATCHES "SimTest\\.cpp$")
      list(APPEND _sim ${_f})
    else()
      list(APPEND _free ${_f})
    endif()
  endforeach()
  if(_free)
    quillon_test_binary(${name} "${_free};${_headers}" "" ${Q_DEPS})
  endif()
  if(_sim)
    quillon_test_binary(${name}_sim "${_sim};${_headers}" "RESOURCE_LOCK;sim" ${Q_DEPS})
  endif()
endfunction()

function(quillon_test_binary name sources properties)
  add_executable(${name} ${sources})
  target_link_libraries(${name} PRIVATE quillon_testsupport ${ARGN})
  target_compile_definitions(${name} PRIVATE QUILLON_SOURCE_DIR="${PROJECT_SOURCE_DIR}")
  gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST
    PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen" ${properties}
    SKIP_REGULAR_EXPRESSION "\\[  SKIPPED \\]")
endfunction()
