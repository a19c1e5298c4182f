# Lineage chains from the command line: a sentence in Arabic becomes three generations under the root,
# and the youngest's lineage runs back up the same line; a person who is not there is refused. The checks
# take the tree in turn: an open tree is held by one command alone.
set(cli_links_dir ${CMAKE_CURRENT_BINARY_DIR}/cli-links)
set(cli_links_tree ${cli_links_dir}/links.vrd)
add_test(NAME cli_links_tree COMMAND sh -c
    "rm -rf '${cli_links_dir}' && '$<TARGET_FILE:verdan-cli>' new '${cli_links_tree}' --name Links --owner O >/dev/null")
set_tests_properties(cli_links_tree PROPERTIES FIXTURES_SETUP cli_links)
add_test(NAME cli_chain_and_lineage COMMAND sh -c
    "youngest=$('$<TARGET_FILE:verdan-cli>' chain '${cli_links_tree}' -1 'محمد بن علي بن حسن' --lang ar | tail -n 1 | cut -f 1) && '$<TARGET_FILE:verdan-cli>' lineage '${cli_links_tree}' \"$youngest\"")
set_tests_properties(cli_chain_and_lineage PROPERTIES FIXTURES_REQUIRED cli_links RESOURCE_LOCK cli_links
    PASS_REGULAR_EXPRESSION "^حسن\nعلي\nمحمد\n$")
add_test(NAME cli_chain_list_form COMMAND verdan-cli chain ${cli_links_tree} -1 "Omar\\n\\nZaid" --list)
set_tests_properties(cli_chain_list_form PROPERTIES FIXTURES_REQUIRED cli_links RESOURCE_LOCK cli_links
    PASS_REGULAR_EXPRESSION "^{[-0-9A-F]+}\tZaid\n{[-0-9A-F]+}\tOmar\n$")
add_test(NAME cli_chain_unknown_person COMMAND verdan-cli chain ${cli_links_tree} "{00000000-0000-0000-0000-000000000000}" "a son of b")
set_tests_properties(cli_chain_unknown_person PROPERTIES FIXTURES_REQUIRED cli_links RESOURCE_LOCK cli_links WILL_FAIL TRUE)
