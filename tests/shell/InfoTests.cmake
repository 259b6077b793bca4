# "Advanced informations" and its four pages.
veltrane_add_qtest(advanced_info_tests SOURCES AdvancedInfoTest.cpp)
target_link_libraries(advanced_info_tests PRIVATE veltrane_frame_test_support)
