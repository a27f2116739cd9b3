# One place for the flags every target of the project shares.
add_library(sendaro_flags INTERFACE)
target_compile_features(sendaro_flags INTERFACE cxx_std_20)
target_compile_options(sendaro_flags INTERFACE
    -Wall -Wextra -Wpedantic -Wnon-virtual-dtor -Wold-style-cast)
if(WITH_WERROR)
    target_compile_options(sendaro_flags INTERFACE -Werror)
endif()
target_compile_definitions(sendaro_flags INTERFACE
    QT_NO_CAST_FROM_ASCII QT_NO_CAST_TO_ASCII QT_NO_CAST_FROM_BYTEARRAY
    QT_NO_URL_CAST_FROM_STRING QT_NO_NARROWING_CONVERSIONS_IN_CONNECT
    QT_DISABLE_DEPRECATED_UP_TO=0x060400)
target_include_directories(sendaro_flags INTERFACE ${PROJECT_SOURCE_DIR})

if(WITH_ASAN)
    set(_san -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
    target_compile_options(sendaro_flags INTERFACE ${_san})
    target_link_options(sendaro_flags INTERFACE ${_san})
endif()
if(WITH_FUZZ)
    target_compile_options(sendaro_flags INTERFACE -fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer)
    target_link_options(sendaro_flags INTERFACE -fsanitize=address,undefined)
endif()
