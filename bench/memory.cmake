# Peak memory of `etiqo render` over the hostile corpus (tests/hostile/findings and memory) and the
# labels built to cost memory: the bound stated in the README is checked here.
etiqo_add_bench(memory_bench SOURCES ${CMAKE_CURRENT_LIST_DIR}/memory_bench.cpp LIBS etiqo_model Qt6::Gui)
target_compile_definitions(memory_bench PRIVATE ETIQO_BINARY_DIR="${PROJECT_BINARY_DIR}")
add_dependencies(memory_bench etiqo)
