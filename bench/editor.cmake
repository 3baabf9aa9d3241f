drovak_add_bench(editor SOURCES editor_bench.cpp LIBS drovak_editor drovak_toolkit_headless)
target_compile_definitions(drovak_bench_editor PRIVATE DROVAK_ASSETS_DIR="${CMAKE_SOURCE_DIR}/assets")
