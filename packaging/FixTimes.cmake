# Run by CPack on the staged files before it archives them: every file and
# folder takes the commit's time, so two builds archive the same bytes.
if(NOT CPACK_VANTELOR_EPOCH MATCHES "^[0-9]+$")
  message(FATAL_ERROR "no commit time for the package's files")
endif()
execute_process(COMMAND find ${CPACK_TEMPORARY_DIRECTORY} -exec touch -h -d @${CPACK_VANTELOR_EPOCH} {} +
                RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "could not set the staged files' times")
endif()
