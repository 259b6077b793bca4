veltrane_add_gtest(cache_page_tests
  LIBS veltrane_ident
  SOURCES CachePageTest.cpp)
