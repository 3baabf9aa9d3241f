drovak_add_bench(editor SOURCES editor_bench.cpp LIBS drovak_editor)
