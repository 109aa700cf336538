# The viewer as a web page: build/web/index.html, index.js and index.wasm (scripts/web copies
# them there). The page's own pieces (address, title, star count, downloads, storage) are in
# web_page.cpp and page_bridge.cpp; shell.html is the page around the canvas.
target_sources(viewer_shell PRIVATE "${PROJECT_SOURCE_DIR}/web/web_page.cpp" "${PROJECT_SOURCE_DIR}/web/page_bridge.cpp")
set_target_properties(galaxy_viewer PROPERTIES OUTPUT_NAME index SUFFIX ".html")
set_property(TARGET galaxy_viewer APPEND PROPERTY LINK_DEPENDS "${PROJECT_SOURCE_DIR}/web/shell.html")
target_link_options(galaxy_viewer PRIVATE
    "SHELL:-s USE_GLFW=3"
    "SHELL:-s ENVIRONMENT=web"
    # The page's JavaScript hands strings to C++ in memory it allocates.
    "SHELL:-s EXPORTED_FUNCTIONS=[_main,_malloc,_free]"
    # A million stars take about 140 MB; the heap grows as a denser galaxy asks.
    "SHELL:-s INITIAL_MEMORY=67108864"
    "SHELL:-s ALLOW_MEMORY_GROWTH=1"
    "SHELL:-s MAXIMUM_MEMORY=2147483648"
    # Debian's emscripten cannot run its HTML minifier; the page is small anyway.
    "SHELL:-s MINIFY_HTML=0"
    "SHELL:--shell-file ${PROJECT_SOURCE_DIR}/web/shell.html"
)
