# orvex_embed_file_version(<target>...): builds into each deliverable the text
# "ORVEX-FILE-VERSION=<major>.<minor>.<patch>.<tweak>" from the project's version. The
# configuration tool's About box finds it in the file, where the Windows builds kept a version
# resource; a file without it shows no version.
function(orvex_embed_file_version)
    set(parts ${PROJECT_VERSION_MAJOR} ${PROJECT_VERSION_MINOR} ${PROJECT_VERSION_PATCH}
        ${PROJECT_VERSION_TWEAK})
    set(version "")
    foreach(i RANGE 0 3)
        list(LENGTH parts count)
        set(part 0)
        if(i LESS count)
            list(GET parts ${i} part)
        endif()
        if(part STREQUAL "")
            set(part 0)
        endif()
        list(APPEND version ${part})
    endforeach()
    list(JOIN version "." version)
    set(marker ${CMAKE_BINARY_DIR}/generated/orvex_file_version.c)
    file(CONFIGURE OUTPUT ${marker} CONTENT
        "/* Read back by the configuration tool's About box; kept although nothing refers to it. */\n__attribute__((used)) static const char orvex_file_version[] = \"ORVEX-FILE-VERSION=${version}\";\n")
    foreach(target ${ARGN})
        if(TARGET ${target})
            target_sources(${target} PRIVATE ${marker})
        endif()
    endforeach()
endfunction()
