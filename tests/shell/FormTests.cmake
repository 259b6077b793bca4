# The main benchmark form and the project documents.

# The form's logic is built here from its source alone, so it stays Qt-free.
veltrane_add_gtest(form_model_tests
  LIBS veltrane_ident
  SOURCES FormModelTest.cpp ${PROJECT_SOURCE_DIR}/src/shell/BenchmarkFormModel.cpp)
target_include_directories(form_model_tests PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})

veltrane_add_qtest(form_window_tests SOURCES FormWindowTest.cpp)
target_link_libraries(form_window_tests PRIVATE veltrane_frame_test_support)
