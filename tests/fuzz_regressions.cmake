# Replays every fuzzer finding (fuzz/regressions/<target>/) and every seed
# (fuzz/corpus/<target>/) through the fuzz targets' entry points.
kxtmat_add_test(fuzz_regressions_test SAMPLE SOURCES fuzz_regressions_test.cpp LIBS kxtmat_fuzz_entry)
