# The graph window, its pages, the reference details and the configurator.
veltrane_add_qtest(graph_tests SOURCES GraphWindowTest.cpp)
target_link_libraries(graph_tests PRIVATE veltrane_frame_test_support)
