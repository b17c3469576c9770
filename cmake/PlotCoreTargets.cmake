# Warnings for our own targets only; third-party headers come in as system includes.
function(plotcore_warnings target)
    target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wno-unused-parameter)
    if(PLOTCORE_WERROR)
        target_compile_options(${target} PRIVATE -Werror)
    endif()
endfunction()

# A run-time loaded module: no "lib" prefix and the exact file name the loader asks for.
function(plotcore_module target output_name suffix)
    set_target_properties(${target} PROPERTIES
        PREFIX ""
        OUTPUT_NAME ${output_name}
        SUFFIX ${suffix}
        AUTOMOC ON)
    plotcore_warnings(${target})
endfunction()
