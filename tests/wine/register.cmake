# Native side: each tests/wine/<name>_test.cpp becomes <name>_test.exe in the
# Windows build and one CTest entry run under Wine. All of them share one Wine
# prefix and one X display, made once by wine_start and torn down by wine_stop.
file(GLOB WINE_TEST_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/wine/*_test.cpp)
set(WINE_STATE ${CMAKE_BINARY_DIR}/wine-state)
set(WINE_ENV ${CMAKE_SOURCE_DIR}/tools/wine-env)

add_test(NAME wine_start COMMAND ${WINE_ENV} start ${WINE_STATE})
set_tests_properties(wine_start PROPERTIES FIXTURES_SETUP wine RESOURCE_LOCK wine TIMEOUT 300)
add_test(NAME wine_stop COMMAND ${WINE_ENV} stop ${WINE_STATE})
set_tests_properties(wine_stop PROPERTIES FIXTURES_CLEANUP wine RESOURCE_LOCK wine)

foreach(src ${WINE_TEST_SOURCES})
    get_filename_component(name ${src} NAME_WE)
    add_test(NAME wine_${name}
             COMMAND ${WINE_ENV} run ${WINE_STATE} wine ${WIN_DIR}/bin/${name}.exe)
    set_tests_properties(wine_${name} PROPERTIES
        FIXTURES_REQUIRED wine RESOURCE_LOCK wine TIMEOUT 900
        ENVIRONMENT "ORV_BIN_UNIX=${WIN_DIR}/bin;ORV_SOURCE_UNIX=${CMAKE_SOURCE_DIR}")
endforeach()
