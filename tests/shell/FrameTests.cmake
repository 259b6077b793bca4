# The main frame, its start-up, commands and run windows.
add_library(veltrane_frame_test_support STATIC
  FrameTestSupport.cpp FrameTestSupport.h SmallSuites.cpp
  ${PROJECT_SOURCE_DIR}/tests/burnin/SmallLoopUnit.cpp)
target_link_libraries(veltrane_frame_test_support PUBLIC veltrane_shell_lib Qt6::Test
  veltrane_test_paths
  PRIVATE veltrane_warnings)
target_include_directories(veltrane_frame_test_support PUBLIC ${CMAKE_CURRENT_SOURCE_DIR}
  ${PROJECT_SOURCE_DIR}/tests)
# The small suites are built like the benchmark's own.
set_source_files_properties(SmallSuites.cpp ${PROJECT_SOURCE_DIR}/tests/burnin/SmallLoopUnit.cpp
  PROPERTIES COMPILE_OPTIONS "${VELTRANE_TIMED_FLAGS}")

veltrane_add_qtest(frame_tests SOURCES FrameTest.cpp)
target_link_libraries(frame_tests PRIVATE veltrane_frame_test_support)

# Every window of the frame as a PNG under the build folder, for review; not
# a test: `cmake --build <build> --target shell_screenshots`.
add_executable(shell_screenshots_app Screenshots.cpp)
target_link_libraries(shell_screenshots_app PRIVATE veltrane_frame_test_support veltrane_warnings)
add_custom_target(shell_screenshots
  COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen
    $<TARGET_FILE:shell_screenshots_app> ${CMAKE_BINARY_DIR}/screenshots
  WORKING_DIRECTORY ${CMAKE_BINARY_DIR}/bin
  DEPENDS shell_screenshots_app
  COMMENT "Rendering the windows to ${CMAKE_BINARY_DIR}/screenshots"
  VERBATIM)

# The results history from the desktop: runs kept, saved and removed.
veltrane_add_qtest(history_tests SOURCES HistoryWindowTest.cpp)
target_link_libraries(history_tests PRIVATE veltrane_frame_test_support)
