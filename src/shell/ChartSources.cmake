# The result chart and the graph configurator's colour swatch.
set(VELTRANE_SHELL_CHART_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/ColorSwatch.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ColorSwatch.h
  ${CMAKE_CURRENT_LIST_DIR}/ResultChart.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ResultChart.h)
