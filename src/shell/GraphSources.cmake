set(VELTRANE_SHELL_GRAPH_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/ChartPage.cpp
  ${CMAKE_CURRENT_LIST_DIR}/DatabasePage.cpp
  ${CMAKE_CURRENT_LIST_DIR}/GraphConfigDlg.cpp
  ${CMAKE_CURRENT_LIST_DIR}/GraphResultsDlg.cpp
  ${CMAKE_CURRENT_LIST_DIR}/InfoList.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ReferencePictures.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SystemDetailsDlg.cpp)
