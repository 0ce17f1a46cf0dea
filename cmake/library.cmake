# quillon_library(NAME DEPENDS ...): one static library per src/ folder, built from every source in it.
# Drivers live in subfolders of platform/ and are added by that folder's own list.
function(quillon_library name)
  cmake_parse_arguments(ARG "" "" "DEPENDS;PRIVATE" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  if(NOT sources)
    # A subsystem that holds only headers so far.
    add_library(quillon_${name} INTERFACE)
    target_include_directories(quillon_${name} INTERFACE ${PROJECT_SOURCE_DIR}/src)
    target_link_libraries(quillon_${name} INTERFACE ${ARG_DEPENDS} ${ARG_PRIVATE})
    return()
  endif()
  add_library(quillon_${name} STATIC ${sources})
  target_include_directories(quillon_${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
  target_link_libraries(quillon_${name} PUBLIC ${ARG_DEPENDS} PRIVATE ${ARG_PRIVATE})
endfunction()

# quillon_tests(NAME DEPENDS ...): one GoogleTest executable from every test source in the folder.
function(quillon_tests name)
  cmake_parse_arguments(ARG "" "" "DEPENDS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  if(NOT sources)
    return()
  endif()
  add_executable(test_${name} ${sources})
  target_link_libraries(test_${name} PRIVATE ${ARG_DEPENDS} GTest::gtest_main)
  target_compile_definitions(test_${name} PRIVATE QUILLON_TEST_DATA="${CMAKE_CURRENT_SOURCE_DIR}/data")
  gtest_discover_tests(test_${name} PROPERTIES ENVIRONMENT "QUILLON_DRIVER=headless;SDL_VIDEODRIVER=dummy;SDL_AUDIODRIVER=dummy" TIMEOUT 120 DISCOVERY_TIMEOUT 60)
endfunction()
