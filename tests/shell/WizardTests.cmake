# The report wizard through a real frame.
veltrane_add_qtest(report_wizard_tests SOURCES ReportWizardTest.cpp)
target_link_libraries(report_wizard_tests PRIVATE veltrane_frame_test_support)
