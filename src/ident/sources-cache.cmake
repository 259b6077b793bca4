target_sources(veltrane_ident PRIVATE CachePage.cpp)
