# Small helpers shared by every folder's CMakeLists.

# tabulon_add_gtest(<name> LABEL <label> SOURCES <files...> LIBS <targets...>)
# A GoogleTest program registered with ctest under one label. It links no Qt unless asked to.
function(tabulon_add_gtest name)
  cmake_parse_arguments(ARG "" "LABEL" "SOURCES;LIBS" ${ARGN})
  find_package(GTest REQUIRED)
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gtest_main)
  target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR}/tests)
  add_test(NAME ${name} COMMAND ${name})
  set_tests_properties(${name} PROPERTIES LABELS ${ARG_LABEL})
endfunction()

# tabulon_add_qtest(<name> LABEL <label> SOURCES <files...> LIBS <targets...>)
# A Qt Test program, run on the offscreen platform. Its caches go to the build folder, not the
# home: fontconfig caches there a font folder changed since the system cached it.
function(tabulon_add_qtest name)
  cmake_parse_arguments(ARG "" "LABEL" "SOURCES;LIBS" ${ARGN})
  find_package(Qt6 REQUIRED COMPONENTS Test Widgets)
  add_executable(${name} ${ARG_SOURCES})
  set_target_properties(${name} PROPERTIES AUTOMOC ON)
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} Qt6::Test Qt6::Widgets)
  target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR}/tests)
  add_test(NAME ${name} COMMAND ${name})
  set_tests_properties(${name} PROPERTIES LABELS ${ARG_LABEL}
                       ENVIRONMENT "QT_QPA_PLATFORM=offscreen;XDG_CACHE_HOME=${CMAKE_BINARY_DIR}/cache")
endfunction()

# tabulon_place_beside_executables(<target> <file>...)
# Copies data files into the folder that holds every executable, so programs built here find
# them beside themselves exactly as they do when installed.
function(tabulon_place_beside_executables target)
  set(outputs)
  foreach(file IN LISTS ARGN)
    get_filename_component(name ${file} NAME)
    set(out ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/${name})
    add_custom_command(OUTPUT ${out}
                       COMMAND ${CMAKE_COMMAND} -E copy_if_different ${file} ${out}
                       DEPENDS ${file} VERBATIM)
    list(APPEND outputs ${out})
  endforeach()
  add_custom_target(${target} ALL DEPENDS ${outputs})
endfunction()
