# Runs the Windows programs of a cross build under Wine: CTest and custom
# commands start them through CMAKE_CROSSCOMPILING_EMULATOR. Wine keeps its
# Windows installation in a private prefix inside the build folder, so a
# build never touches the user's ~/.wine and a fresh clone needs no set-up.
find_program(ORNET5_WINE wine REQUIRED)
find_program(ORNET5_WINESERVER wineserver REQUIRED)
set(ORNET5_WINEPREFIX ${CMAKE_BINARY_DIR}/wineprefix)

# Creating a prefix takes several seconds and must not race between tests
# that CTest runs in parallel, so it is made once here. Mono and Gecko are
# not wanted: without them Wine asks for no download and shows no dialog.
#
# One locale for every Windows program, the users' own: Wine rewrites the
# prefix's regional settings whenever a program starts under a locale other
# than the last one, so programs started side by side under different
# locales would read each other's formats.
set(ORNET5_WINE_ENV LANG=ru_RU.UTF-8 WINEPREFIX=${ORNET5_WINEPREFIX} WINEDEBUG=-all
    WINEDLLOVERRIDES=mscoree,mshtml=)
# The stamp is written only after a complete set-up, so a set-up cut short
# is done again.
set(stamp ${ORNET5_WINEPREFIX}/.ornet5-ready)
if(NOT EXISTS ${stamp})
    message(STATUS "Creating the Wine prefix ${ORNET5_WINEPREFIX}")
    execute_process(
        COMMAND ${CMAKE_COMMAND} -E env ${ORNET5_WINE_ENV} DISPLAY= ${ORNET5_WINE} wineboot -i
        OUTPUT_QUIET ERROR_QUIET RESULT_VARIABLE bootResult)
    # The registry reaches the disk when the Wine server ends.
    execute_process(
        COMMAND ${CMAKE_COMMAND} -E env ${ORNET5_WINE_ENV} ${ORNET5_WINESERVER} -w)
    if(NOT bootResult EQUAL 0 OR NOT EXISTS ${ORNET5_WINEPREFIX}/system.reg)
        message(FATAL_ERROR "Wine could not set up ${ORNET5_WINEPREFIX}")
    endif()
    file(TOUCH ${stamp})
endif()

set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_COMMAND} -E env ${ORNET5_WINE_ENV} ${ORNET5_WINE})
