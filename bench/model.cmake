# Label model: opening and saving large labels, undo snapshots.
etiqo_add_bench(model_bench SOURCES ${CMAKE_CURRENT_LIST_DIR}/model_bench.cpp LIBS etiqo_model)
