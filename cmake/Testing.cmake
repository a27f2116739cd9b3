# sendaro_test(NAME SOURCES ... [LIBS ...] [X11] [PULSE] [LAYOUTS us de] [TIMEOUT s])
#
# One QtTest executable per unit. Plain tests run on Qt's offscreen platform.
# X11 tests run twice, each time on an X server of their own: once under
# openbox and once without any window manager (tests/mit-x.sh). PULSE tests
# get a PulseAudio server of their own with a null sink (tests/mit-pulse.sh).
function(sendaro_test name)
    cmake_parse_arguments(T "X11;PULSE" "TIMEOUT" "SOURCES;LIBS;LABELS" ${ARGN})
    add_executable(${name} ${T_SOURCES})
    target_link_libraries(${name} PRIVATE sendaro_flags Qt6::Test ${T_LIBS})
    set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
    target_compile_definitions(${name} PRIVATE
        SENDARO_TESTDATEN="${PROJECT_SOURCE_DIR}/tests/data"
        SENDARO_PROGRAMMORDNER="${SENDARO_PROGRAMMORDNER}")
    if(NOT T_TIMEOUT)
        set(T_TIMEOUT 300)
    endif()
    set(_env "ASAN_OPTIONS=detect_leaks=1" "LSAN_OPTIONS=suppressions=${PROJECT_SOURCE_DIR}/tests/lsan.supp")
    if(T_X11)
        foreach(_art wm ohne-wm)
            add_test(NAME ${name}_${_art}
                COMMAND ${PROJECT_SOURCE_DIR}/tests/mit-x.sh --${_art} $<TARGET_FILE:${name}>)
            set_tests_properties(${name}_${_art} PROPERTIES
                LABELS "x11;${T_LABELS}" TIMEOUT ${T_TIMEOUT} ENVIRONMENT "${_env}")
        endforeach()
    elseif(T_PULSE)
        add_test(NAME ${name}
            COMMAND ${PROJECT_SOURCE_DIR}/tests/mit-pulse.sh $<TARGET_FILE:${name}>)
        set_tests_properties(${name} PROPERTIES
            LABELS "pulse;${T_LABELS}" TIMEOUT ${T_TIMEOUT} ENVIRONMENT "${_env}")
    else()
        add_test(NAME ${name} COMMAND ${name})
        set_tests_properties(${name} PROPERTIES
            LABELS "unit;${T_LABELS}" TIMEOUT ${T_TIMEOUT}
            ENVIRONMENT "QT_QPA_PLATFORM=offscreen;${_env}")
    endif()
endfunction()
