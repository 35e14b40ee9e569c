# add_wine_suite(NAME TARGET): the Windows build's test program TARGET as one test, run under Wine
# in a fresh prefix (scripts/wine-suite.sh). One test per program rather than one per case: each
# Wine start costs a second, each fresh prefix many.
if(CMAKE_SYSTEM_PROCESSOR STREQUAL "x86")
  set(TRANSVALE_WINE_ARCH win32)
else()
  set(TRANSVALE_WINE_ARCH win64)
endif()

# Further arguments go to the program (a --gtest_filter, say).
function(add_wine_suite name target)
  add_test(NAME ${name}
    COMMAND bash ${PROJECT_SOURCE_DIR}/scripts/wine-suite.sh ${CMAKE_CROSSCOMPILING_EMULATOR}
            ${TRANSVALE_WINE_ARCH} $<TARGET_FILE:${target}> ${ARGN})
  set_tests_properties(${name} PROPERTIES LABELS wine-suite TIMEOUT 600)
endfunction()
