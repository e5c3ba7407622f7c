# One strict warning set for every target of ours, on both architectures.
option(VANTREL_WERROR "Treat compiler warnings as errors" ON)

set(VANTREL_WARNINGS
    -Wall -Wextra -Wpedantic
    -Wshadow -Wconversion
    -Wcast-qual -Wcast-align -Wformat=2 -Wundef
    -Wnull-dereference -Wduplicated-cond -Wduplicated-branches
    -Wlogical-op -Wmissing-declarations -Wredundant-decls
    $<$<COMPILE_LANGUAGE:CXX>:-Wnon-virtual-dtor -Woverloaded-virtual -Wold-style-cast>)

function(vantrel_warnings target)
    target_compile_options(${target} PRIVATE
        $<$<COMPILE_LANGUAGE:C,CXX>:${VANTREL_WARNINGS}>
        $<$<AND:$<BOOL:${VANTREL_WERROR}>,$<COMPILE_LANGUAGE:C,CXX>>:-Werror>)
endfunction()
