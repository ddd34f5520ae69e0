# Installs the build into a fresh staging folder, as a package or a user does,
# so the guide's tests look at the installed guide.
#   cmake -DBUILD=dir -DSTAGE=dir -P InstallGuide.cmake
file(REMOVE_RECURSE ${STAGE})
execute_process(COMMAND ${CMAKE_COMMAND} -E env DESTDIR=${STAGE} ${CMAKE_COMMAND} --install ${BUILD}
                RESULT_VARIABLE result OUTPUT_QUIET)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "installing ${BUILD} failed")
endif()
