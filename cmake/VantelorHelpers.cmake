# vantelor_add_test(NAME SOURCES src... [PLUGIN] [LIBS lib...] [LABELS label...] [ARGS arg...]
#                   [ENV VAR=value...])
# One GoogleTest executable, registered as one CTest test. PLUGIN: the test
# loads the built plug-in, whose path it gets as VANTELOR_PLUGIN.
function(vantelor_add_test name)
  cmake_parse_arguments(T "PLUGIN" "" "SOURCES;LIBS;LABELS;ARGS;ENV" ${ARGN})
  # The Windows build brings GoogleTest built from source (tests/windows).
  if(NOT TARGET GTest::gtest)
    find_package(GTest REQUIRED)
  endif()
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE GTest::gtest GTest::gtest_main ${T_LIBS})
  # Tests stand above every layer and may reach any part of the tree.
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR})
  if(T_PLUGIN)
    target_compile_definitions(${name} PRIVATE VANTELOR_PLUGIN="$<TARGET_FILE:HF_Vantelor>")
    add_dependencies(${name} HF_Vantelor)
  endif()
  add_test(NAME ${name} COMMAND ${name} ${T_ARGS})
  # A test that could not run (GTEST_SKIP, or exit code 77 from a script
  # or the Windows runner) is reported as skipped, never as passed;
  # scripts/test fails on any skip.
  set_tests_properties(${name} PROPERTIES SKIP_REGULAR_EXPRESSION "\\[  SKIPPED \\]" SKIP_RETURN_CODE 77)
  if(T_LABELS)
    set_tests_properties(${name} PROPERTIES LABELS "${T_LABELS}")
  endif()
  # Tests on the X server share one display, its pointer and its focus:
  # synthetic input from one must never land in another's window.
  if("x11" IN_LIST T_LABELS)
    set_tests_properties(${name} PROPERTIES RESOURCE_LOCK x_display)
  endif()
  if(T_ENV)
    set_tests_properties(${name} PROPERTIES ENVIRONMENT "${T_ENV}")
  endif()
endfunction()

# vantelor_add_fuzzer(NAME SOURCES src... [LIBS lib...])
# A libFuzzer target; built only in the fuzz configuration (clang). scripts/test
# runs every fuzz_* executable of that build for a bounded time.
function(vantelor_add_fuzzer name)
  cmake_parse_arguments(F "" "" "SOURCES;LIBS" ${ARGN})
  if(NOT VANTELOR_FUZZ)
    return()
  endif()
  add_executable(${name} ${F_SOURCES})
  target_compile_options(${name} PRIVATE -fsanitize=fuzzer)
  target_link_options(${name} PRIVATE -fsanitize=fuzzer)
  target_link_libraries(${name} PRIVATE ${F_LIBS})
  if(NOT TARGET fuzzers)
    add_custom_target(fuzzers)
  endif()
  add_dependencies(fuzzers ${name})
endfunction()

# vantelor_export_headers(TARGET FILES path... | FOLDER folder [EXCLUDE subfolder...])
# Gives TARGET, and whatever links it, exactly these headers and no others:
# each is linked into a folder of the build tree under its path in the source
# tree, so includes keep reading "dsp/BiQuad.h" while a library that does not
# link the one owning a header cannot include it. The layers of the tree are
# thereby enforced by the compiler; tests/layers checks the rules as written.
function(vantelor_export_headers target)
  cmake_parse_arguments(H "" "FOLDER" "FILES;EXCLUDE" ${ARGN})
  set(files ${H_FILES})
  if(H_FOLDER)
    file(GLOB_RECURSE found CONFIGURE_DEPENDS RELATIVE ${PROJECT_SOURCE_DIR}
         ${PROJECT_SOURCE_DIR}/${H_FOLDER}/*.h)
    foreach(excluded ${H_EXCLUDE})
      list(FILTER found EXCLUDE REGEX "^${H_FOLDER}/${excluded}/")
    endforeach()
    list(APPEND files ${found})
  endif()
  if(NOT files)
    message(FATAL_ERROR "vantelor_export_headers(${target}): no headers")
  endif()
  set(root ${PROJECT_BINARY_DIR}/layers/${target})
  file(REMOVE_RECURSE ${root})
  foreach(file ${files})
    if(NOT EXISTS ${PROJECT_SOURCE_DIR}/${file})
      message(FATAL_ERROR "vantelor_export_headers(${target}): ${file} does not exist")
    endif()
    get_filename_component(dir ${root}/${file} DIRECTORY)
    file(MAKE_DIRECTORY ${dir})
    file(CREATE_LINK ${PROJECT_SOURCE_DIR}/${file} ${root}/${file} SYMBOLIC)
  endforeach()
  get_target_property(type ${target} TYPE)
  if(type STREQUAL "INTERFACE_LIBRARY")
    target_include_directories(${target} INTERFACE ${root})
  else()
    target_include_directories(${target} PUBLIC ${root})
  endif()
endfunction()

# vantelor_copy_files(TARGET FOLDER FILES...): a target, built by default,
# that keeps copies of FILES in FOLDER up to date (the user guide beside the
# plug-in and inside the LV2 bundle).
function(vantelor_copy_files target folder)
  set(copies)
  foreach(file IN LISTS ARGN)
    get_filename_component(name ${file} NAME)
    add_custom_command(OUTPUT ${folder}/${name}
      COMMAND ${CMAKE_COMMAND} -E copy_if_different ${file} ${folder}/${name}
      DEPENDS ${file} VERBATIM)
    list(APPEND copies ${folder}/${name})
  endforeach()
  add_custom_target(${target} ALL DEPENDS ${copies})
endfunction()
