# The main benchmark form and the project documents.
veltrane_add_qtest(form_window_tests SOURCES FormWindowTest.cpp)
target_link_libraries(form_window_tests PRIVATE veltrane_frame_test_support)
