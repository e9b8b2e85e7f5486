# Read by cpack before it packs: the package's time stamps default to the last commit's time,
# so two builds of one commit give the same bytes. A SOURCE_DATE_EPOCH already set wins; outside
# a git checkout the files keep their own times.
if(NOT DEFINED ENV{SOURCE_DATE_EPOCH} AND CPACK_TABULON_GIT)
  execute_process(
    COMMAND "${CPACK_TABULON_GIT}" -C "${CPACK_TABULON_SOURCE_DIR}" log -1 --format=%ct
    OUTPUT_VARIABLE commit_time OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET
    RESULT_VARIABLE git_failed)
  if(NOT git_failed AND commit_time MATCHES "^[0-9]+$")
    set(ENV{SOURCE_DATE_EPOCH} ${commit_time})
  endif()
endif()
