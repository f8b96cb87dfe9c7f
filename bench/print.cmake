# Printing: `etiqo print` of serialized labels to a private ZPL queue, start to job complete.
etiqo_add_bench(print_bench SOURCES ${CMAKE_CURRENT_LIST_DIR}/print_bench.cpp LIBS etiqo_model Qt6::Core)
target_compile_definitions(print_bench PRIVATE ETIQO_BINARY_DIR="${PROJECT_BINARY_DIR}")
add_dependencies(print_bench etiqo)
