# A damaged tree from the command line: info says so and fails, check lists what is wrong; a sound tree
# passes the check; a tree carrying a trigger is refused by name before anything can fire it. A terminal
# gets the paths without the isolates that keep them in order in a mirrored window.
set(cli_safety_dir ${CMAKE_CURRENT_BINARY_DIR}/cli-safety)
set(cli_cmd "$<TARGET_FILE:verdan-cli>")
add_test(NAME cli_damaged_tree_info COMMAND sh -c
    "rm -rf '${cli_safety_dir}/damaged' && '${cli_cmd}' new '${cli_safety_dir}/damaged/t.vrd' --name N --owner O >/dev/null && dd if=/dev/zero of='${cli_safety_dir}/damaged/t.vrd' bs=4096 seek=1 count=8 conv=notrunc 2>/dev/null && '${cli_cmd}' info '${cli_safety_dir}/damaged/t.vrd' 2>&1; echo \"exit=$?\"; '${cli_cmd}' check '${cli_safety_dir}/damaged/t.vrd'; echo \"exit=$?\"")
set_tests_properties(cli_damaged_tree_info PROPERTIES
    PASS_REGULAR_EXPRESSION "^The tree file is damaged.\n[^\n]*t.vrd\n.*exit=1\nThe tree file is damaged.\n.+exit=1\n$"
    FAIL_REGULAR_EXPRESSION "Persons:|⁦")
add_test(NAME cli_sound_tree_check COMMAND sh -c
    "rm -rf '${cli_safety_dir}/sound' && '${cli_cmd}' new '${cli_safety_dir}/sound/t.vrd' --name N --owner O >/dev/null && '${cli_cmd}' check '${cli_safety_dir}/sound/t.vrd' --lang ar; echo \"exit=$?\"")
set_tests_properties(cli_sound_tree_check PROPERTIES PASS_REGULAR_EXPRESSION "^لم يُعثر على أي تلف في ملف الشجرة.\n[^\n]+\nexit=0\n$")
add_test(NAME cli_foreign_trigger COMMAND sh -c
    "rm -rf '${cli_safety_dir}/trigger' && '${cli_cmd}' new '${cli_safety_dir}/trigger/t.vrd' --name N --owner O >/dev/null && python3 -c \"import sqlite3,sys; c=sqlite3.connect(sys.argv[1]); c.execute('CREATE TRIGGER wipe AFTER UPDATE ON ftPerson BEGIN DELETE FROM ftRelation; END'); c.commit()\" '${cli_safety_dir}/trigger/t.vrd' && '${cli_cmd}' info '${cli_safety_dir}/trigger/t.vrd' 2>&1; echo \"exit=$?\"")
set_tests_properties(cli_foreign_trigger PROPERTIES
    PASS_REGULAR_EXPRESSION "could change it on their own.\n[^\n]*t.vrd\ntrigger wipe\n.*exit=1\n$"
    FAIL_REGULAR_EXPRESSION "⁦")
add_test(NAME cli_damaged_tree_find COMMAND sh -c
    "rm -rf '${cli_safety_dir}/find' && '${cli_cmd}' new '${cli_safety_dir}/find/t.vrd' --name N --owner O >/dev/null && dd if=/dev/zero of='${cli_safety_dir}/find/t.vrd' bs=4096 seek=1 count=8 conv=notrunc 2>/dev/null && '${cli_cmd}' find '${cli_safety_dir}/find/t.vrd' N 2>&1; echo \"exit=$?\"")
set_tests_properties(cli_damaged_tree_find PROPERTIES
    PASS_REGULAR_EXPRESSION "^The tree file is damaged.\n[^\n]*t.vrd\n.*exit=1\n$"
    FAIL_REGULAR_EXPRESSION "⁦|No person found")

# A file of the old format converted from the command line: a database that holds no tree is named and
# nothing is written beside it (the program's open names it the same way); a damaged one fails with a
# message and leaves nothing beside it.
set(cli_convert_dir ${CMAKE_CURRENT_BINARY_DIR}/cli-convert)
add_test(NAME cli_convert_jet_without_tree COMMAND sh -c
    "rm -rf '${cli_convert_dir}' && mkdir -p '${cli_convert_dir}' && cp '${PROJECT_SOURCE_DIR}/tests/data/samples/jet/DateTestDatabase.mdb' '${cli_convert_dir}/old.vrd' && '${cli_cmd}' convert '${cli_convert_dir}/old.vrd' 2>&1; echo \"exit=$?\"; '${cli_cmd}' info '${cli_convert_dir}/old.vrd' 2>&1; echo \"info=$?\"; ls -A '${cli_convert_dir}'")
set_tests_properties(cli_convert_jet_without_tree PROPERTIES
    PASS_REGULAR_EXPRESSION "^verdan-cli convert: This file is a database of the old format, but it holds no family tree.\nexit=1\nThis file is a database of the old format, but it holds no family tree.\n[^\n]*old.vrd\ninfo=1\nold.vrd\n$")
add_test(NAME cli_convert_damaged COMMAND sh -c
    "rm -rf '${cli_convert_dir}-bad' && mkdir -p '${cli_convert_dir}-bad' && head -c 20000 '${PROJECT_SOURCE_DIR}/tests/data/samples/jet/DateTestDatabase.mdb' > '${cli_convert_dir}-bad/old.vrd' && '${cli_cmd}' convert '${cli_convert_dir}-bad/old.vrd' 2>&1; echo \"exit=$?\"; ls -A '${cli_convert_dir}-bad'")
set_tests_properties(cli_convert_damaged PROPERTIES
    PASS_REGULAR_EXPRESSION "damaged.*\nexit=1\nold.vrd\n$")

# A tree another program holds: the command line says so in its own words, not the engine's.
set(cli_held_dir ${CMAKE_CURRENT_BINARY_DIR}/cli-held)
add_test(NAME cli_tree_held_elsewhere COMMAND sh -c
    "rm -rf '${cli_held_dir}' && '${cli_cmd}' new '${cli_held_dir}/t.vrd' --name N --owner O >/dev/null && (python3 -c \"import sqlite3,sys,time; c=sqlite3.connect(sys.argv[1]); c.execute('PRAGMA locking_mode=EXCLUSIVE'); c.execute('BEGIN EXCLUSIVE'); c.commit(); print('held', flush=True); time.sleep(4)\" '${cli_held_dir}/t.vrd' &) | head -1 && '${cli_cmd}' info '${cli_held_dir}/t.vrd' --lang ar 2>&1; echo \"exit=$?\"")
set_tests_properties(cli_tree_held_elsewhere PROPERTIES
    PASS_REGULAR_EXPRESSION "^held\n[^\n]+\n[^\n]*t.vrd\n[^\n]+\nexit=1\n$"
    FAIL_REGULAR_EXPRESSION "locked|Could not recognize")

# Every command on copies of a tree damaged at the root page of its persons, an index page, a page of
# persons in the middle and the last page: no byte of a damaged file changes, the damage is told in the
# language asked for, and recover writes a tree that passes the engine's check with every readable row.
add_test(NAME cli_damaged_tree_every_command COMMAND python3
    ${PROJECT_SOURCE_DIR}/tests/storage/damaged_tree_cli.py $<TARGET_FILE:verdan-cli>
    ${CMAKE_CURRENT_BINARY_DIR}/cli-damaged-every)
set_tests_properties(cli_damaged_tree_every_command PROPERTIES TIMEOUT 900)
