# The timed routines measure the processor, not the build: the same flags
# whatever the build type or the user's CMAKE_CXX_FLAGS (which come first and
# are overridden here). No vectorising, no loops turned into library calls,
# loops aligned so their speed does not depend on where the linker put them.
# clang (used only for the fuzzers) has no -fno-tree-loop-distribute-patterns.
set(VELTRANE_TIMED_FLAGS
  -O2 -march=x86-64 -mtune=generic -fno-tree-vectorize
  $<$<CXX_COMPILER_ID:GNU>:-fno-tree-loop-distribute-patterns> -falign-loops=64 -fno-lto)

