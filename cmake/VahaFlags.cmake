# One interface target carries the flags every target of the project builds with.
add_library(vaha_flags INTERFACE)
target_compile_features(vaha_flags INTERFACE cxx_std_20)
target_compile_definitions(vaha_flags INTERFACE
    QT_NO_NARROWING_CONVERSIONS_IN_CONNECT
    QT_NO_KEYWORDS)
target_compile_options(vaha_flags INTERFACE
    -Wall -Wextra -Wpedantic -Werror
    -Wshadow -Wnon-virtual-dtor -Wold-style-cast -Wcast-align
    -Woverloaded-virtual -Wimplicit-fallthrough)
if(VAHA_FUZZ)
    if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
        message(FATAL_ERROR "VAHA_FUZZ needs clang (use the fuzz preset)")
    endif()
    target_compile_options(vaha_flags INTERFACE -fsanitize=fuzzer-no-link)
    set(VAHA_SANITIZE ON)
endif()
if(VAHA_SANITIZE)
    target_compile_options(vaha_flags INTERFACE
        -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
    target_link_options(vaha_flags INTERFACE -fsanitize=address,undefined)
endif()
