# The tests' support library (test_support.cpp), defined once for the test
# programs (tests/CMakeLists.txt), the fuzz targets' replays, and the fuzz
# targets' own project (tests/fuzz), which builds it under its instrumentation.
# Its GoogleTest fixture is in test_support.hpp alone, so the library itself
# needs no GoogleTest.
add_library(k2v_test_support STATIC ${CMAKE_CURRENT_LIST_DIR}/test_support.cpp)
target_include_directories(k2v_test_support PUBLIC ${CMAKE_CURRENT_LIST_DIR})
target_link_libraries(k2v_test_support PUBLIC k2v_run)
