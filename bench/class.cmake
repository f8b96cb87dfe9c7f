# Long runs: `etiqo print` of 10,000 serialized labels to a class of three ZPL printers in jobs of
# 500, until every job has arrived at the printers' raw port; and until the first job is queued.
etiqo_add_bench(class_bench SOURCES ${CMAKE_CURRENT_LIST_DIR}/class_bench.cpp LIBS etiqo_model Qt6::Core)
target_compile_definitions(class_bench PRIVATE ETIQO_BINARY_DIR="${PROJECT_BINARY_DIR}")
add_dependencies(class_bench etiqo raw_listener)
