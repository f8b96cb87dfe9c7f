# The scan check: one 50 × 80 mm page with a Code 128, a QR code and a Data Matrix, decoded afresh
# and again unchanged (from the cache).
etiqo_add_bench(check_bench SOURCES ${CMAKE_CURRENT_LIST_DIR}/check_bench.cpp LIBS etiqo_check etiqo_print)
