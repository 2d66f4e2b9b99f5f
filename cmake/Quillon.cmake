# quillon_library(<target> [DEPS ...]): a static library of every .cpp/.h in the calling folder.
function(quillon_library target)
  cmake_parse_arguments(Q "" "" "DEPS" ${ARGN})
  file(GLOB _src CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
  if(NOT _src)
    set(_src ${PROJECT_SOURCE_DIR}/cmake/empty.cpp)
  endif()
  add_library(${target} STATIC ${_src})
  target_include_directories(${target} PUBLIC ${PROJECT_SOURCE_DIR}/src)
  target_compile_options(${target} PRIVATE -Wall -Wextra)
  target_link_libraries(${target} PUBLIC ${Q_DEPS})
endfunction()

# quillon_tests(<name> [DEPS ...]): one GoogleTest binary of every .cpp in the calling folder.
function(quillon_tests name)
  cmake_parse_arguments(Q "" "" "DEPS" ${ARGN})
  file(GLOB _src CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
  if(NOT _src)
    return()
  endif()
  add_executable(${name} ${_src})
  target_link_libraries(${name} PRIVATE quillon_testsupport ${Q_DEPS})
  target_compile_definitions(${name} PRIVATE QUILLON_SOURCE_DIR="${PROJECT_SOURCE_DIR}")
  # Tests share the one stand-in server (its journal and knobs), so they never run at once.
  gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST
    PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen" RESOURCE_LOCK sim
    SKIP_REGULAR_EXPRESSION "\\[  SKIPPED \\]")
endfunction()
