# Labels from data: 100,000 CSV records (a text, a Code 128 and a QR code from fields) to one PDF and
# to PNG pages, the same rows from SQLite and a private PostgreSQL server, with `etiqo render`'s peak
# memory; and gLabels' batch merge of the same label where it is installed.
etiqo_add_bench(data_bench SOURCES ${CMAKE_CURRENT_LIST_DIR}/data_bench.cpp LIBS etiqo_data)
target_compile_definitions(data_bench PRIVATE ETIQO_BINARY_DIR="${PROJECT_BINARY_DIR}")
add_dependencies(data_bench etiqo)
