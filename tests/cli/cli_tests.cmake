# The command line's help, manual pages and completion, all made from its table of commands.
add_test(NAME cli_unknown_option COMMAND sh -c "'$<TARGET_FILE:verdan-cli>' export a.vrd b.ged --bogus; echo \"exit $?\"")
set_tests_properties(cli_unknown_option PROPERTIES
    PASS_REGULAR_EXPRESSION "unknown option --bogus\n.*verdan-cli export --help.*exit 2")
add_test(NAME cli_option_value_after_equals COMMAND verdan-cli hijri --lang=ar 2024-03-11)
set_tests_properties(cli_option_value_after_equals PROPERTIES PASS_REGULAR_EXPRESSION "^14450901\nالإثنين")
add_test(NAME cli_option_without_value COMMAND sh -c "'$<TARGET_FILE:verdan-cli>' report persons t.vrd --out; echo \"exit $?\"")
set_tests_properties(cli_option_without_value PROPERTIES PASS_REGULAR_EXPRESSION "--out needs a value.*exit 2")
add_test(NAME cli_command_help COMMAND verdan-cli report --help)
set_tests_properties(cli_command_help PROPERTIES
    PASS_REGULAR_EXPRESSION "^usage: verdan-cli report persons\\|contacts\\|addresses TREE.vrd.*--out FILE.*--lang")
add_test(NAME cli_help_lists_commands COMMAND verdan-cli --help)
set_tests_properties(cli_help_lists_commands PROPERTIES PASS_REGULAR_EXPRESSION "\n  kinship +print the kinship")
add_test(NAME program_help_without_display COMMAND env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=xcb
    $<TARGET_FILE:verdan> --help)
set_tests_properties(program_help_without_display PROPERTIES PASS_REGULAR_EXPRESSION "--home DIR")

find_program(GROFF groff)
if(GROFF)
    foreach(page verdan verdan-cli)
        add_test(NAME man_page_${page} COMMAND ${GROFF} -man -ww -z -Tutf8 ${CMAKE_BINARY_DIR}/share/man/man1/${page}.1)
        set_tests_properties(man_page_${page} PROPERTIES FAIL_REGULAR_EXPRESSION "warning|error")
    endforeach()
endif()
add_test(NAME cli_bash_completion COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/completion_test.sh
    ${CMAKE_BINARY_DIR}/share/bash-completion/completions/verdan-cli)

# The Debian package as `make package` writes it, installed into a scratch root and removed again.
find_program(DPKG dpkg)
if(DPKG)
    set(package_test_dir ${CMAKE_BINARY_DIR}/package-test)
    add_test(NAME package_installs_and_removes
        COMMAND sh -c "rm -rf '${package_test_dir}' && '${CMAKE_CPACK_COMMAND}' -G DEB -B '${package_test_dir}' >/dev/null && '${PROJECT_SOURCE_DIR}/scripts/package_test.sh' '${package_test_dir}'/verdan_*.deb"
        WORKING_DIRECTORY ${CMAKE_BINARY_DIR})
endif()
