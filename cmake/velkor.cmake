# Folder libraries: every .cpp directly in the folder is a source; the folder's
# own deps.cmake (optional) names the libraries it links with, as
#   set(VELKOR_DEPS_<folder> velkor_records velkor_platform ...)
function(velkor_folder_library dir)
  file(GLOB srcs CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/${dir}/*.cpp)
  set(deps)
  if(EXISTS ${CMAKE_SOURCE_DIR}/${dir}/deps.cmake)
    include(${CMAKE_SOURCE_DIR}/${dir}/deps.cmake)
    set(deps ${VELKOR_DEPS_${dir}})
  endif()
  if(srcs)
    add_library(velkor_${dir} STATIC ${srcs})
    target_include_directories(velkor_${dir} PUBLIC ${CMAKE_SOURCE_DIR})
    target_link_libraries(velkor_${dir} PUBLIC ${deps})
  else()
    add_library(velkor_${dir} INTERFACE)
    target_include_directories(velkor_${dir} INTERFACE ${CMAKE_SOURCE_DIR})
    target_link_libraries(velkor_${dir} INTERFACE ${deps})
  endif()
endfunction()

# Test executables: one per folder under tests/, every .cpp in it, linked with
# GoogleTest and the libraries listed in that folder's deps.cmake as
#   set(VELKOR_TEST_DEPS velkor_records ...)
function(velkor_folder_tests dir)
  file(GLOB srcs CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/${dir}/*.cpp)
  if(NOT srcs)
    return()
  endif()
  set(VELKOR_TEST_DEPS)
  set(VELKOR_TEST_ENV)
  if(EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/${dir}/deps.cmake)
    include(${CMAKE_CURRENT_SOURCE_DIR}/${dir}/deps.cmake)
  endif()
  set(target test_${dir})
  add_executable(${target} ${srcs})
  target_include_directories(${target} PRIVATE ${CMAKE_SOURCE_DIR} ${CMAKE_CURRENT_SOURCE_DIR})
  target_link_libraries(${target} PRIVATE ${VELKOR_TEST_DEPS} GTest::gtest GTest::gtest_main)
  target_compile_definitions(${target} PRIVATE
    VELKOR_SOURCE_DIR="${CMAKE_SOURCE_DIR}" VELKOR_BINARY_DIR="${CMAKE_BINARY_DIR}")
  gtest_discover_tests(${target}
    PROPERTIES ENVIRONMENT "${VELKOR_TEST_ENV}"
    DISCOVERY_TIMEOUT 60)
endfunction()
