# The main benchmark form and the project documents.

# The form's logic is built here from its source alone, so it stays Qt-free.
veltrane_add_gtest(form_model_tests
  LIBS veltrane_ident
  SOURCES FormModelTest.cpp ${PROJECT_SOURCE_DIR}/src/shell/BenchmarkFormModel.cpp)
target_include_directories(form_model_tests PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})

veltrane_add_qtest(form_widget_tests SOURCES FormWidgetTest.cpp)
veltrane_add_qtest(document_tests SOURCES DocumentTest.cpp)
foreach(name form_widget_tests document_tests)
  target_link_libraries(${name} PRIVATE veltrane_frame_test_support)
endforeach()
