# Answers of the loaded generated installation against plain walks of its
# model. The generator lives in bench/, which the build adds only when Google
# Benchmark is found.
find_package(benchmark QUIET)
if(benchmark_FOUND AND EXISTS ${PROJECT_SOURCE_DIR}/bench/CMakeLists.txt)
  kxtmat_add_test(perf_equivalence_test SAMPLE
    SOURCES perf_equivalence_test.cpp support/temp_installation.cpp support/temp_dir.cpp
    LIBS kxtmat_manager kxtmat_bench_generator)
endif()
