# The user guide: one HTML page with its pictures beside it, in the build tree
# beside the plug-in (so the plug-in built here opens it as an installed one
# does) and installed with the plug-in.
#
# Its measured pictures are drawn on every build: vst2-host measures the
# built plug-in through its VST interface and gnuplot draws the CSV files.
# VANTELOR_GUIDE_PICTURES: AUTO draws them when gnuplot is found, ON requires
# gnuplot (the presets, so the guide's tests never meet a guide without its
# pictures), OFF leaves them out.
#
# The guide's files in the build tree are listed in the global property
# VANTELOR_GUIDE_FILES (read it with get_property(... GLOBAL PROPERTY ...)),
# for packages that install the guide elsewhere; the target `vantelor_user_guide`
# builds all of them.
set(VANTELOR_GUIDE_PICTURES AUTO CACHE STRING "Draw the guide's measured pictures: AUTO, ON or OFF")
set_property(CACHE VANTELOR_GUIDE_PICTURES PROPERTY STRINGS AUTO ON OFF)

set(guide_dir ${PROJECT_BINARY_DIR}/plugin)
set(guide_sources ${PROJECT_SOURCE_DIR}/resources/guide)
set(VANTELOR_GUIDE_MEASURED_PICTURES pan-law elevation width programs)

# The page and its fixed pictures are copied by resources/ (the editor's tests
# need the page early); these are their copies beside the plug-in.
set(guide_files)
foreach(file IN LISTS VANTELOR_GUIDE_FILES)
  get_filename_component(name ${file} NAME)
  list(APPEND guide_files ${guide_dir}/${name})
endforeach()

add_custom_target(vantelor_user_guide ALL DEPENDS vantelor_guide)

set(draw_pictures OFF)
if(NOT WIN32 AND NOT VANTELOR_GUIDE_PICTURES STREQUAL "OFF")
  find_program(VANTELOR_GNUPLOT gnuplot)
  if(VANTELOR_GNUPLOT)
    set(draw_pictures ON)
  elseif(VANTELOR_GUIDE_PICTURES STREQUAL "ON")
    message(FATAL_ERROR "VANTELOR_GUIDE_PICTURES is ON but gnuplot was not found (Debian package gnuplot-nox)")
  else()
    message(STATUS "gnuplot not found: the guide is built without its measured pictures")
  endif()
endif()

if(draw_pictures)
  set(data_dir ${PROJECT_BINARY_DIR}/guide-measurements)
  set(csv_files)
  foreach(name IN LISTS VANTELOR_GUIDE_MEASURED_PICTURES)
    list(APPEND csv_files ${data_dir}/${name}.csv)
  endforeach()
  # Leak reports of a sanitizer build are the tests' business, not the build's.
  add_custom_command(OUTPUT ${csv_files}
    COMMAND ${CMAKE_COMMAND} -E env ASAN_OPTIONS=detect_leaks=0
            $<TARGET_FILE:plugin-host> measure $<TARGET_FILE:HF_Vantelor> --out ${data_dir}
    DEPENDS plugin-host HF_Vantelor
    COMMENT "Measuring the plug-in for the guide's pictures"
    VERBATIM)
  set(pictures)
  foreach(name IN LISTS VANTELOR_GUIDE_MEASURED_PICTURES)
    set(picture ${guide_dir}/HF_Vantelor-${name}.png)
    add_custom_command(OUTPUT ${picture}
      COMMAND ${VANTELOR_GNUPLOT} -e "dir='${guide_sources}'; data='${data_dir}'; out='${picture}'"
              ${guide_sources}/${name}.gp
      DEPENDS ${guide_sources}/${name}.gp ${guide_sources}/common.gp ${csv_files}
      COMMENT "Drawing HF_Vantelor-${name}.png"
      VERBATIM)
    list(APPEND pictures ${picture})
  endforeach()
  add_custom_target(vantelor_guide_pictures DEPENDS ${pictures})
  add_dependencies(vantelor_user_guide vantelor_guide_pictures)
  list(APPEND guide_files ${pictures})

  # The LV2 bundle carries the guide for its window's link button: the
  # measured pictures go beside the page there too.
  if(TARGET HF_Vantelor_lv2_guide)
    vantelor_copy_files(vantelor_lv2_guide_pictures ${VANTELOR_LV2_BUNDLE} ${pictures})
    install(FILES ${pictures} DESTINATION ${VANTELOR_LV2_DIR}/HF_Vantelor.lv2 COMPONENT lv2)
  endif()
endif()

set_property(GLOBAL PROPERTY VANTELOR_GUIDE_FILES ${guide_files})
# `cmake --install` puts the guide and its pictures beside the plug-in, where
# the link button looks first, unless another folder is chosen (the Linux
# package puts them in the system's documentation folder).
set(VANTELOR_GUIDE_DIR "" CACHE PATH "Folder that `cmake --install` puts the user guide into; empty: beside the plug-in")
if(VANTELOR_GUIDE_DIR)
  install(FILES ${guide_files} DESTINATION ${VANTELOR_GUIDE_DIR})
elseif(DEFINED VANTELOR_VST_DIR)
  install(FILES ${guide_files} DESTINATION ${VANTELOR_VST_DIR})
endif()
