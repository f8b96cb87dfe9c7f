# Label canvas: one drag step and one full repaint on crowded labels.
etiqo_add_bench(canvas_bench SOURCES ${CMAKE_CURRENT_LIST_DIR}/canvas_bench.cpp LIBS etiqo_canvas)
