# cmake -DZIP_PROGRAM=/usr/bin/zip -DPROGRAM=…/zadrin.exe -DOUTPUT=…/zadrin-VERSION-win64.zip -P ProgramZip.cmake
# The zip of the program alone, the same bytes wherever and whenever it is made: no owner or extra fields
# (zip -X), the mode set here rather than by the umask, and the time SOURCE_DATE_EPOCH's when it is
# given (else the program's own), written as UTC.
cmake_path(GET PROGRAM FILENAME name)
set(stage ${OUTPUT}.files)
file(REMOVE_RECURSE ${stage} ${OUTPUT})
file(COPY ${PROGRAM} DESTINATION ${stage} FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE
     GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
if(DEFINED ENV{SOURCE_DATE_EPOCH})
  execute_process(COMMAND touch -d @$ENV{SOURCE_DATE_EPOCH} ${stage}/${name} COMMAND_ERROR_IS_FATAL ANY)
endif()
execute_process(COMMAND ${CMAKE_COMMAND} -E env TZ=UTC0 ${ZIP_PROGRAM} -X -9 -q ${OUTPUT} ${name}
                WORKING_DIRECTORY ${stage} COMMAND_ERROR_IS_FATAL ANY)
file(REMOVE_RECURSE ${stage})
