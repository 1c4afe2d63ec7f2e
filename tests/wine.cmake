# SPDX-FileCopyrightText: 2026 Орсета developers <orseta@orseta.example>
#
# SPDX-License-Identifier: GPL-3.0-or-later

# The Qt Test programs built for Windows, each run under Wine by CTest
# (CMAKE_CROSSCOMPILING_EMULATOR, tests/wine.sh) on the X server and Wine
# prefix scripts/windows --test makes for the run. What needs Linux itself,
# a session bus, Wayland, the package or strace, is checked by the Linux suite.
function(orseta_wine_test name)
    cmake_parse_arguments(PARSE_ARGV 1 arg "" "TARGET" "ENVIRONMENT")
    # A target's name, not its file: only then does CTest put the emulator first.
    add_test(NAME ${name} COMMAND ${arg_TARGET})
    set_tests_properties(${name} PROPERTIES
        TIMEOUT 300
        SKIP_RETURN_CODE 77
        ENVIRONMENT "${arg_ENVIRONMENT}")
endfunction()

foreach(unit catalogue quiz)
    add_executable(tst_${unit} tst_${unit}.cpp)
    target_link_libraries(tst_${unit} PRIVATE Qt6::Test ${unit})
    orseta_wine_test(${unit} TARGET tst_${unit})
endforeach()
foreach(unit tesmoril anyorder resources)
    add_executable(tst_${unit} tst_${unit}.cpp)
    target_link_libraries(tst_${unit} PRIVATE Qt6::Test tesmoril)
    orseta_wine_test(${unit} TARGET tst_${unit})
endforeach()
foreach(scale 1.5 2)
    orseta_wine_test(tesmoril_x${scale} TARGET tst_tesmoril ENVIRONMENT QT_SCALE_FACTOR=${scale})
endforeach()

# The version record is compiled and read by the build machine's windres,
# which a program running under Wine cannot start.
target_compile_definitions(tst_resources PRIVATE
    ORSETA_SOURCE_DIR="${PROJECT_SOURCE_DIR}"
    ORSETA_RC="${PROJECT_BINARY_DIR}/resources/orseta.rc"
    ORSETA_WINDRES="")

# The real orseta.exe, and its installer when scripts/windows has built it.
add_test(NAME orseta_exe
    COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/winexe.sh $<TARGET_FILE:orseta>
            ${CMAKE_BINARY_DIR}/orseta-wine.png)
set_tests_properties(orseta_exe PROPERTIES TIMEOUT 300 SKIP_RETURN_CODE 77)
