# The loop configurator and progress window, with the real loop thread.
veltrane_add_qtest(loop_window_tests SOURCES LoopWindowTest.cpp)
target_link_libraries(loop_window_tests PRIVATE veltrane_frame_test_support)
