# The project document and the main benchmark form.
set(VELTRANE_SHELL_FORM_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/BenchmarkFormArt.cpp
  ${CMAKE_CURRENT_LIST_DIR}/BenchmarkFormArt.h
  ${CMAKE_CURRENT_LIST_DIR}/BenchmarkForm.cpp
  ${CMAKE_CURRENT_LIST_DIR}/BenchmarkForm.h
  ${CMAKE_CURRENT_LIST_DIR}/BenchmarkFormPicture.cpp
  ${CMAKE_CURRENT_LIST_DIR}/BenchmarkFormPicture.h
  ${CMAKE_CURRENT_LIST_DIR}/ProjectDocuments.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ProjectDocuments.h
  ${CMAKE_CURRENT_LIST_DIR}/resources/form.qrc)
