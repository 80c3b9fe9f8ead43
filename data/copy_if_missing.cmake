# Copies SRC to DST only when DST does not exist: the user's KD2.mdb is never replaced.
if(NOT EXISTS "${DST}")
    file(COPY_FILE "${SRC}" "${DST}")
    message(STATUS "Made ${DST}")
endif()
