# Test support: a private MariaDB server started by the test run itself (a CTest fixture),
# and vaha_add_test() for QtTest executables that run headless in Czech regional settings.

set(VAHA_TEST_DB_DIR ${CMAKE_BINARY_DIR}/testdb)
if(NOT VAHA_TEST_DB_PORT)
    # A port of its own per build tree, so that several trees can test at once.
    string(RANDOM LENGTH 3 ALPHABET 0123456789 _vaha_rand)
    math(EXPR _vaha_port "34000 + ${_vaha_rand}")
    set(VAHA_TEST_DB_PORT ${_vaha_port} CACHE STRING "Loopback port of the private test database server")
endif()

add_test(NAME db_server_start
    COMMAND ${PROJECT_SOURCE_DIR}/tools/dbserver start ${VAHA_TEST_DB_DIR} ${VAHA_TEST_DB_PORT})
set_tests_properties(db_server_start PROPERTIES FIXTURES_SETUP vaha_db TIMEOUT 120)
add_test(NAME db_server_stop COMMAND ${PROJECT_SOURCE_DIR}/tools/dbserver stop ${VAHA_TEST_DB_DIR})
set_tests_properties(db_server_stop PROPERTIES FIXTURES_CLEANUP vaha_db TIMEOUT 120)

set(VAHA_TEST_ENVIRONMENT
    QT_QPA_PLATFORM=offscreen
    LANG=cs_CZ.UTF-8
    LC_ALL=cs_CZ.UTF-8
    LANGUAGE=cs
    VAHA_TEST_DB_HOST=127.0.0.1
    VAHA_TEST_DB_PORT=${VAHA_TEST_DB_PORT}
    VAHA_SOURCE_DIR=${PROJECT_SOURCE_DIR}
    VAHA_BINARY_DIR=${PROJECT_BINARY_DIR})

# vaha_add_test(NAME SOURCES file... LIBS lib... [DB] [TIMEOUT seconds])
function(vaha_add_test name)
    cmake_parse_arguments(T "DB" "TIMEOUT" "SOURCES;LIBS" ${ARGN})
    add_executable(${name} ${T_SOURCES})
    target_link_libraries(${name} PRIVATE vaha_testsupport ${T_LIBS} Qt6::Test)
    add_test(NAME ${name} COMMAND ${name})
    if(NOT T_TIMEOUT)
        set(T_TIMEOUT 300)
    endif()
    set_tests_properties(${name} PROPERTIES
        ENVIRONMENT "${VAHA_TEST_ENVIRONMENT}"
        TIMEOUT ${T_TIMEOUT}
        WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR})
    if(T_DB)
        set_tests_properties(${name} PROPERTIES FIXTURES_REQUIRED vaha_db)
    endif()
endfunction()
