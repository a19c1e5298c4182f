# Ninja builds can link against a stale moc output when a glob brings in a new QObject header: the
# autogen step does not always notice. When a target's file list changes, its autogen folder is dropped
# at configure time so moc runs afresh for that target.
function(verdan_reset_autogen_on_new_files target)
    string(SHA1 list_hash "${ARGN}")
    set(cache_var VERDAN_AUTOGEN_LIST_${target})
    if(DEFINED ${cache_var} AND NOT list_hash STREQUAL "${${cache_var}}")
        file(REMOVE_RECURSE ${CMAKE_CURRENT_BINARY_DIR}/${target}_autogen)
    endif()
    set(${cache_var} ${list_hash} CACHE INTERNAL "")
endfunction()
