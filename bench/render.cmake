# The renderer's throughput: raster, PNG and PDF output of a typical label, one screen paint.
etiqo_add_bench(render_bench SOURCES ${CMAKE_CURRENT_LIST_DIR}/render_bench.cpp LIBS etiqo_render etiqo_print)
