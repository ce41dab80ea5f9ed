# cmake -DPATTERN=<regex> [-DEXIT_CODE=<code>] -P expect-output.cmake -- COMMAND [ARGS...]
# Runs the command and passes only when it ends with the exit code (0
# unless given) and its standard output matches the pattern. CTest's
# PASS_REGULAR_EXPRESSION alone would pass a program that printed the right
# lines and then failed.
set(command)
set(commandStarted OFF)
math(EXPR last "${CMAKE_ARGC} - 1")
foreach(index RANGE ${last})
    if(commandStarted)
        list(APPEND command "${CMAKE_ARGV${index}}")
    elseif(CMAKE_ARGV${index} STREQUAL "--")
        set(commandStarted ON)
    endif()
endforeach()
if(NOT command OR NOT DEFINED PATTERN)
    message(FATAL_ERROR "usage: cmake -DPATTERN=<regex> [-DEXIT_CODE=<code>] -P expect-output.cmake -- COMMAND [ARGS...]")
endif()
if(NOT DEFINED EXIT_CODE)
    set(EXIT_CODE 0)
endif()

execute_process(COMMAND ${command} OUTPUT_VARIABLE output ECHO_OUTPUT_VARIABLE
                RESULT_VARIABLE result)
if(NOT result STREQUAL EXIT_CODE)
    list(JOIN command " " commandLine)
    message(FATAL_ERROR "The command ended with ${result}, not ${EXIT_CODE}: ${commandLine}")
endif()
string(REGEX MATCH "${PATTERN}" matched "${output}")
if(NOT matched)
    message(FATAL_ERROR "The output does not match the pattern:\n${PATTERN}")
endif()
