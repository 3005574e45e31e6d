# What the folders' CMakeLists.txt files share: the warnings, the Windows resources and where the
# programs are put.

# Warnings apply to the project's own targets only, through this interface library.
add_library(qpx_warnings INTERFACE)
if(MSVC)
    target_compile_options(qpx_warnings INTERFACE /W4 $<$<BOOL:${QPX_WERROR}>:/WX>)
else()
    # C++ only: the Windows resource compiler takes no such options.
    set(QPX_WARNING_FLAGS -Wall -Wextra -Wpedantic -Wshadow -Wconversion -Wno-sign-conversion
        $<$<BOOL:${QPX_WERROR}>:-Werror>)
    target_compile_options(qpx_warnings INTERFACE
        "$<$<COMPILE_LANGUAGE:CXX>:${QPX_WARNING_FLAGS}>")
endif()

# The Windows resources (src/app/deployqpx.rc): icon and version for Explorer. Windows only.
function(qpx_add_windows_resources target)
    if(WIN32)
        target_sources(${target} PRIVATE ${PROJECT_SOURCE_DIR}/src/app/deployqpx.rc)
        set_property(SOURCE ${PROJECT_SOURCE_DIR}/src/app/deployqpx.rc TARGET_DIRECTORY ${target}
            APPEND PROPERTY INCLUDE_DIRECTORIES ${PROJECT_SOURCE_DIR}/packaging)
        target_compile_definitions(${target} PRIVATE QPX_VERSION_MAJOR=${PROJECT_VERSION_MAJOR}
            QPX_VERSION_MINOR=${PROJECT_VERSION_MINOR} ${ARGN})
    endif()
endfunction()

# The programs people and scripts run (deployqpx, qpxctl, qpx-sim, qpx-demo, the benchmarks and
# the fault-matrix tool) stay at the top of the build folder, whichever folder defines them: the
# scripts, the guides and the package build look for them there.
function(qpx_program_in_build_root target)
    set_target_properties(${target} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${PROJECT_BINARY_DIR})
endfunction()
