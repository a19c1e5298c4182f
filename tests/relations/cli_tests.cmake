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
add_test(NAME cli_search_any_letter_case COMMAND ${cli_rel} search ${cli_rel_tree} bB MAKKAH)
set_tests_properties(cli_search_any_letter_case PROPERTIES FIXTURES_REQUIRED cli_relations
    DEPENDS cli_search_two_words RESOURCE_LOCK cli_relations_tree
    PASS_REGULAR_EXPRESSION "^{[-0-9A-F]+}\tBb Aa\tName: Bb. Birth Place: Makkah.\n$")
# The tree's statistics name the marriages as the window does, though the language documents know the
# caption by its old misspelt key.
add_test(NAME cli_info_marriages_caption COMMAND ${cli_rel} info ${cli_rel_tree} --lang en)
set_tests_properties(cli_info_marriages_caption PROPERTIES FIXTURES_REQUIRED cli_relations
    RESOURCE_LOCK cli_relations_tree PASS_REGULAR_EXPRESSION "\nMarriage Relationships: 0\n"
    FAIL_REGULAR_EXPRESSION "Mariage")
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

# The family rules from the command line, on a copy of the kinship family: a question without its answer
# fails and names its answers; the answers named are taken in turn; a marriage the rules refuse fails with
# the reason; the check finds a child whose parents may not marry, also as JSON.
set(cli_fam_dir ${CMAKE_CURRENT_BINARY_DIR}/cli-family)
set(cli_fam_tree ${cli_fam_dir}/fam.vrd)
add_test(NAME cli_family_tree COMMAND sh -c
    "rm -rf '${cli_fam_dir}' && '${cli_rel}' new '${cli_fam_tree}' --name Fam --owner O >/dev/null && python3 '${CMAKE_CURRENT_SOURCE_DIR}/data/kinship/make_family.py' '${cli_fam_tree}'")
set_tests_properties(cli_family_tree PROPERTIES FIXTURES_SETUP cli_family)
add_test(NAME cli_link_asks_without_an_answer COMMAND sh -c
    "'${cli_rel}' link '${cli_fam_tree}' '${cli_kin_id}04}' --father '${cli_kin_id}03}'; echo \"exit=$?\"; '${cli_rel}' link '${cli_fam_tree}' '${cli_kin_id}04}' --father '${cli_kin_id}03}' --answer marry; echo \"exit=$?\"")
set_tests_properties(cli_link_asks_without_an_answer PROPERTIES FIXTURES_REQUIRED cli_family RESOURCE_LOCK cli_family_tree
    PASS_REGULAR_EXPRESSION "^عمر سالم is not married to مريم, the mother of أحمد علي سالم.\nRecord their marriage, or clear the mother of أحمد علي سالم\\?\nAnswers \\(--answer NAME\\): marry, clear-mother, cancel\nexit=1\nمريم is still married to علي سالم.\n.*\nAnswers \\(--answer NAME\\): end-marriage, add-anyway, cancel\nexit=1\n$")
add_test(NAME cli_link_takes_the_answers_in_turn COMMAND sh -c
    "cp '${cli_fam_tree}' '${cli_fam_dir}/answered.vrd' && '${cli_rel}' link '${cli_fam_dir}/answered.vrd' '${cli_kin_id}04}' --father '${cli_kin_id}03}' --answer marry --answer end-marriage && python3 -c \"import sqlite3,sys; [print(*r, sep='|') for r in sqlite3.connect(sys.argv[1]).execute(\\\"SELECT person_id_1, split FROM ftRelation WHERE person_id_2 = '${cli_kin_id}06}' ORDER BY oid\\\")]\" '${cli_fam_dir}/answered.vrd'")
set_tests_properties(cli_link_takes_the_answers_in_turn PROPERTIES FIXTURES_REQUIRED cli_family RESOURCE_LOCK cli_family_tree
    PASS_REGULAR_EXPRESSION "^Father: عمر سالم\nMother: مريم\n{00000000-0000-0000-0000-000000000002}\\|1\n{00000000-0000-0000-0000-000000000003}\\|0\n$")
add_test(NAME cli_link_never_offers_a_barred_marriage COMMAND sh -c
    "'${cli_rel}' link '${cli_fam_tree}' '${cli_kin_id}07}' --mother '${cli_kin_id}05}' --answer marry --lang ar; echo \"exit=$?\"; cp '${cli_fam_tree}' '${cli_fam_dir}/cleared.vrd' && '${cli_rel}' link '${cli_fam_dir}/cleared.vrd' '${cli_kin_id}07}' --mother '${cli_kin_id}05}' --answer clear-father")
set_tests_properties(cli_link_never_offers_a_barred_marriage PROPERTIES FIXTURES_REQUIRED cli_family RESOURCE_LOCK cli_family_tree
    PASS_REGULAR_EXPRESSION "^لا يحلّ الزواج بين عائشة علي سالم وعمر سالم، والد حسن عمر سالم.\nمحرم بالنسب: .*\nالأجوبة \\(--answer NAME\\): clear-father, cancel\nexit=1\nFather: \nMother: عائشة علي سالم\n$")
add_test(NAME cli_marry_refuses_a_sister COMMAND sh -c
    "'${cli_rel}' marry '${cli_fam_tree}' '${cli_kin_id}04}' '${cli_kin_id}05}'; echo \"exit=$?\"; cp '${cli_fam_tree}' '${cli_fam_dir}/married.vrd' && '${cli_rel}' marry '${cli_fam_dir}/married.vrd' '${cli_kin_id}07}' '${cli_kin_id}05}'")
set_tests_properties(cli_marry_refuses_a_sister PROPERTIES FIXTURES_REQUIRED cli_family RESOURCE_LOCK cli_family_tree
    PASS_REGULAR_EXPRESSION "^أحمد علي سالم may not marry عائشة علي سالم.\nMahram through blood: she is his full sister.\nexit=1\nحسن عمر سالم and عائشة علي سالم are married.\n$")
add_test(NAME cli_check_finds_parents_who_may_not_marry COMMAND sh -c
    "cp '${cli_fam_tree}' '${cli_fam_dir}/planted.vrd' && python3 -c \"import sqlite3,sys; c=sqlite3.connect(sys.argv[1]); c.execute(\\\"UPDATE ftPerson SET mother_id = '${cli_kin_id}05}' WHERE person_id = '${cli_kin_id}07}'\\\"); c.commit()\" '${cli_fam_dir}/planted.vrd' && '${cli_rel}' check '${cli_fam_dir}/planted.vrd' --json; echo \"exit=$?\"")
set_tests_properties(cli_check_finds_parents_who_may_not_marry PROPERTIES FIXTURES_REQUIRED cli_family RESOURCE_LOCK cli_family_tree
    PASS_REGULAR_EXPRESSION "\"damaged\": false,\n    \"findings\": \\[\n        {\n            \"id\": \"{00000000-0000-0000-0000-000000000007}\",\n            \"kind\": \"parents-may-not-marry\",\n            \"name\": \"حسن\",\n            \"text\": \"The father \\(عمر\\) may not marry the mother \\(عائشة\\). Mahram through blood: she is his brother's daughter.\"\n        }\n    \\],\n.*exit=1\n$")
