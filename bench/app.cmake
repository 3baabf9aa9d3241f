drovak_add_bench(app_commands SOURCES app_commands_bench.cpp
                 LIBS ${DROVAK_APP_LIBS} drovak_toolkit_headless)
target_compile_definitions(drovak_bench_app_commands
                           PRIVATE DROVAK_ASSETS_DIR="${CMAKE_SOURCE_DIR}/assets")
