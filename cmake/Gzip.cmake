# norvel_gzip(TARGET SOURCE OUTPUT): OUTPUT is SOURCE compressed as Debian's
# policy asks of manual pages and changelogs (gzip -9, no name or time stamp,
# so the same source gives the same bytes), made by the target TARGET.
function(norvel_gzip target source output)
    get_filename_component(folder ${output} DIRECTORY)
    add_custom_command(
        OUTPUT ${output}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${folder}
        COMMAND gzip -9 -n -c ${source} > ${output}
        DEPENDS ${source}
        COMMENT "Compressing ${source}")
    add_custom_target(${target} ALL DEPENDS ${output})
endfunction()
