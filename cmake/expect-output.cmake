# cmake -DPATTERN=<regex> -P expect-output.cmake -- COMMAND [ARGS...]
# Runs the command and passes only when it ends with exit code 0 and its
# standard output matches the pattern. CTest's PASS_REGULAR_EXPRESSION
# alone would pass a program that printed the right lines and then failed.
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
    message(FATAL_ERROR "usage: cmake -DPATTERN=<regex> -P expect-output.cmake -- COMMAND [ARGS...]")
endif()

execute_process(COMMAND ${command} OUTPUT_VARIABLE output ECHO_OUTPUT_VARIABLE
                RESULT_VARIABLE result)
if(NOT result STREQUAL "0")
    list(JOIN command " " commandLine)
    message(FATAL_ERROR "The command ended with ${result}: ${commandLine}")
endif()
string(REGEX MATCH "${PATTERN}" matched "${output}")
if(NOT matched)
    message(FATAL_ERROR "The output does not match the pattern:\n${PATTERN}")
endif()
