# Warnings and sanitizers apply to every target of the project (not to imported ones).
add_compile_options(-Wall -Wextra)
if(ZORTA_WERROR)
    add_compile_options(-Werror)
endif()
if(ZORTA_SANITIZE)
    add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
    add_link_options(-fsanitize=address,undefined)
endif()
if(ZORTA_FUZZ)
    # Every target gives libFuzzer its coverage; the fuzz targets alone link its driver (tests/fuzz/).
    add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer
                        -fno-sanitize-recover=undefined)
    add_link_options(-fsanitize=address,undefined)
endif()
