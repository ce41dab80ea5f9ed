# cmake -DOBJDUMP=<objdump> -DPROGRAM=<exe> -P check-no-runtime-dlls.cmake
# Fails when the program imports a DLL of the compiler's runtime (libstdc++,
# libgcc, winpthread: all named lib*.dll), which a Windows PC would lack:
# the Windows edition links its runtime statically.
execute_process(COMMAND ${OBJDUMP} -p ${PROGRAM} OUTPUT_VARIABLE headers
                COMMAND_ERROR_IS_FATAL ANY)
string(REGEX MATCHALL "DLL Name: [^\n]+" imports "${headers}")
if(NOT imports)
    message(FATAL_ERROR "No imports found in ${PROGRAM}")
endif()
foreach(import IN LISTS imports)
    if(import MATCHES "DLL Name: lib[^\n]*\\.dll")
        message(FATAL_ERROR "${PROGRAM} needs a runtime DLL: ${import}")
    endif()
endforeach()
message(STATUS "${imports}")
