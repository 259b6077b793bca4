# The result chart and the configurator's colour swatch, painted.
veltrane_add_qtest(chart_widget_tests SOURCES ChartWidgetTest.cpp)
