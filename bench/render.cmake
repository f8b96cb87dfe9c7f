# The renderer's throughput: raster, PNG and PDF output of a typical label, one screen paint, and the
# peak memory of `etiqo render` as the number of copies grows.
etiqo_add_bench(render_bench SOURCES ${CMAKE_CURRENT_LIST_DIR}/render_bench.cpp LIBS etiqo_render etiqo_print)
target_compile_definitions(render_bench PRIVATE ETIQO_BINARY_DIR="${PROJECT_BINARY_DIR}")
add_dependencies(render_bench etiqo)
