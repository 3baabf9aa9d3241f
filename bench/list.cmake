drovak_add_bench(list SOURCES list_bench.cpp LIBS drovak_list drovak_toolkit_headless)
