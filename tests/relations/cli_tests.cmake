# Whole-tree views from the command line: a chain of three generations counted from its oldest man, a
# daughter given a man as her mother and a father who is nobody found by the check (which fails), and the
# general search finding a person by his name and his place of birth only when both words are his. The
# checks take the tree in turn: an open tree is held by one command alone.
set(cli_rel_dir ${CMAKE_CURRENT_BINARY_DIR}/cli-relations)
set(cli_rel_tree ${cli_rel_dir}/rel.vrd)
set(cli_rel "$<TARGET_FILE:verdan-cli>")
add_test(NAME cli_relations_tree COMMAND sh -c
    "rm -rf '${cli_rel_dir}' && '${cli_rel}' new '${cli_rel_tree}' --name Rel --owner O >/dev/null && '${cli_rel}' chain '${cli_rel_tree}' -1 'Cc son of Bb son of Aa' | cut -f 1 > '${cli_rel_dir}/ids' && '${cli_rel}' check '${cli_rel_tree}'")
set_tests_properties(cli_relations_tree PROPERTIES FIXTURES_SETUP cli_relations
    PASS_REGULAR_EXPRESSION "^No damage was found in the tree file.\nNo contradiction found in data.\n$")
add_test(NAME cli_stats_of_a_founder COMMAND sh -c
    "'${cli_rel}' stats '${cli_rel_tree}' \"$(head -n 1 '${cli_rel_dir}/ids')\" --lang ar")
set_tests_properties(cli_stats_of_a_founder PROPERTIES FIXTURES_REQUIRED cli_relations RESOURCE_LOCK cli_relations_tree
    PASS_REGULAR_EXPRESSION "^Aa\nالذكور: 2\nالإناث: 0\nالمجموع: 2\n$")
add_test(NAME cli_stats_unknown_person COMMAND ${cli_rel} stats ${cli_rel_tree} "{00000000-0000-0000-0000-000000000001}")
set_tests_properties(cli_stats_unknown_person PROPERTIES FIXTURES_REQUIRED cli_relations RESOURCE_LOCK cli_relations_tree WILL_FAIL TRUE)
add_test(NAME cli_search_two_words COMMAND sh -c
    "python3 -c \"import sqlite3,sys; c=sqlite3.connect(sys.argv[1]); c.execute(\\\"UPDATE ftPerson SET Place_of_Birth='Makkah' WHERE Person_Name='Bb'\\\"); c.commit()\" '${cli_rel_tree}' && '${cli_rel}' search '${cli_rel_tree}' Bb Makkah && '${cli_rel}' search '${cli_rel_tree}' Aa Makkah; echo \"exit=$?\"")
set_tests_properties(cli_search_two_words PROPERTIES FIXTURES_REQUIRED cli_relations RESOURCE_LOCK cli_relations_tree
    PASS_REGULAR_EXPRESSION "^{[-0-9A-F]+}\tBb Aa\tName: Bb. Birth Place: Makkah.\nNo person found\nexit=1\n$")
add_test(NAME cli_check_finds_contradictions COMMAND sh -c
    "cp '${cli_rel_tree}' '${cli_rel_dir}/bad.vrd' && python3 -c \"import sqlite3,sys; c=sqlite3.connect(sys.argv[1]); c.execute(\\\"UPDATE ftPerson SET Mother_Id=(SELECT Person_Id FROM ftPerson WHERE Person_Name='Aa'), Gender='f' WHERE Person_Name='Cc'\\\"); c.execute(\\\"UPDATE ftPerson SET Father_Id='{00000000-0000-0000-0000-00000000DEAD}' WHERE Person_Name='Bb'\\\"); c.commit()\" '${cli_rel_dir}/bad.vrd' && '${cli_rel}' check '${cli_rel_dir}/bad.vrd'; echo \"exit=$?\"")
set_tests_properties(cli_check_finds_contradictions PROPERTIES FIXTURES_REQUIRED cli_relations RESOURCE_LOCK cli_relations_tree
    PASS_REGULAR_EXPRESSION "^No damage was found in the tree file.\n{[-0-9A-F]+}\tCc\tThe attached mother \\(Aa\\) is male.\n{[-0-9A-F]+}\tBb\tThe father {00000000-0000-0000-0000-00000000DEAD} is no person of the tree.\nFindings: 2\nexit=1\n$")

# Kinship on a small family (tests/data/kinship/make_family.py): a man's father's brother's son is his
# ابن عم and not mahram, a woman and her breastfeeding brother are mahram through breastfeeding, a man and
# his wife's mother through marriage; an unknown person fails.
set(cli_kin_dir ${CMAKE_CURRENT_BINARY_DIR}/cli-kinship)
set(cli_kin_tree ${cli_kin_dir}/kin.vrd)
set(cli_kin_id "{00000000-0000-0000-0000-0000000000")
add_test(NAME cli_kinship_tree COMMAND sh -c
    "rm -rf '${cli_kin_dir}' && '${cli_rel}' new '${cli_kin_tree}' --name Kin --owner O >/dev/null && python3 '${CMAKE_CURRENT_SOURCE_DIR}/data/kinship/make_family.py' '${cli_kin_tree}'")
set_tests_properties(cli_kinship_tree PROPERTIES FIXTURES_SETUP cli_kinship)
add_test(NAME cli_kinship_cousins COMMAND ${cli_rel} kinship ${cli_kin_tree} "${cli_kin_id}04}" "${cli_kin_id}07}" --lang ar)
set_tests_properties(cli_kinship_cousins PROPERTIES FIXTURES_REQUIRED cli_kinship RESOURCE_LOCK cli_kinship_tree
    PASS_REGULAR_EXPRESSION "^حسن عمر سالم بالنسبة إلى أحمد علي سالم: ابن عم\nأحمد علي سالم بالنسبة إلى حسن عمر سالم: ابن عم\nمسار القرابة:\n  سالم\n    علي\n      \\* أحمد\n    عمر\n      \\* حسن\nليسا من المحارم: هو ابن عم له\\.")
add_test(NAME cli_kinship_breastfeeding_brother COMMAND ${cli_rel} kinship ${cli_kin_tree} "${cli_kin_id}05}" "${cli_kin_id}10}")
set_tests_properties(cli_kinship_breastfeeding_brother PROPERTIES FIXTURES_REQUIRED cli_kinship RESOURCE_LOCK cli_kinship_tree
    PASS_REGULAR_EXPRESSION ": brother by breastfeeding\n.*\nMahram through breastfeeding: he is her brother by breastfeeding\\.\n$")
add_test(NAME cli_kinship_wifes_mother COMMAND ${cli_rel} kinship ${cli_kin_tree} "${cli_kin_id}04}" "${cli_kin_id}09}" --lang ar)
set_tests_properties(cli_kinship_wifes_mother PROPERTIES FIXTURES_REQUIRED cli_kinship RESOURCE_LOCK cli_kinship_tree
    PASS_REGULAR_EXPRESSION "^سميرة بالنسبة إلى أحمد علي سالم: حماة \\(والدة الزوجة\\)\n.*\nمحرم بالمصاهرة: ")
add_test(NAME cli_kinship_unknown_person COMMAND ${cli_rel} kinship ${cli_kin_tree} "${cli_kin_id}04}" "${cli_kin_id}99}")
set_tests_properties(cli_kinship_unknown_person PROPERTIES FIXTURES_REQUIRED cli_kinship RESOURCE_LOCK cli_kinship_tree WILL_FAIL TRUE)
