# One layer of the core as its own static library. Every header is included as "layer/File.h"
# from one root, so giving a layer the whole src/ folder would let it include any layer at all.
# Instead each layer compiles against a folder in the build tree that holds links to its own
# folder and to the layers it may use, and nothing else: an include of a layer above it is then
# "No such file or directory". The users of the core get the whole src/ root through qpx_core.
#
#   qpx_add_core_layer(<layer> [USES <layer>...])
#
# defines qpx_<layer> from src/<layer>/*.cpp, linked PUBLIC to qpx_<used layer> for each used
# layer, so a static link lists a layer before the layers it needs.
function(qpx_add_core_layer layer)
    cmake_parse_arguments(PARSE_ARGV 1 ARG "" "" "USES")
    set(target qpx_${layer})
    file(GLOB_RECURSE sources CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/src/${layer}/*.cpp)
    add_library(${target} STATIC ${sources})

    set(visible ${PROJECT_BINARY_DIR}/layer-includes/${layer})
    # Made afresh on every configure, so a layer taken off the list loses its link too.
    file(REMOVE_RECURSE ${visible})
    file(MAKE_DIRECTORY ${visible})
    foreach(allowed IN ITEMS ${layer} ${ARG_USES})
        file(CREATE_LINK ${PROJECT_SOURCE_DIR}/src/${allowed} ${visible}/${allowed} SYMBOLIC)
    endforeach()
    target_include_directories(${target} PRIVATE ${visible})

    set(dependencies)
    foreach(used IN LISTS ARG_USES)
        list(APPEND dependencies qpx_${used})
    endforeach()
    target_link_libraries(${target} PUBLIC ${dependencies} PRIVATE qpx_warnings)
endfunction()
