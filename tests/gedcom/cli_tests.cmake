# GEDCOM export from the command line: the sample family comes back with the same counts of every kind (the
# export adds a family for each nursing mother without one of her own, and the first import's leftovers
# come back as notes), and a missing tree fails with a message and writes nothing.
set(cli_export_dir ${CMAKE_CURRENT_BINARY_DIR}/cli-export)
set(cli_export_cmd "$<TARGET_FILE:verdan-cli>")
add_test(NAME cli_export_round_trip COMMAND sh -c
    "rm -rf '${cli_export_dir}' && mkdir -p '${cli_export_dir}' && cd '${cli_export_dir}' && '${cli_export_cmd}' import '${PROJECT_SOURCE_DIR}/resources/sample/sample-family.ged' --into first | tail -n +2 | grep -v -e '^Families' -e '^Lines kept' -e '^  [^:]*$' -e 'not kept' -e '^Not kept' > first.txt && '${cli_export_cmd}' export first/sample-family/sample-family.vrd out.ged && '${cli_export_cmd}' import out.ged --into second | tail -n +2 | grep -v -e '^Families' -e '^Lines kept' -e '^  [^:]*$' -e 'not kept' -e '^Not kept' > second.txt && cmp first.txt second.txt && cat second.txt")
set_tests_properties(cli_export_round_trip PROPERTIES
    PASS_REGULAR_EXPRESSION "out.ged\nIndividuals: 318\nFamilies: 88\nBreastfeeding relations: 4\nEvents: 0\nIndividuals: 318\nMarriages: 83\nDivorces: 1\nBirth dates: 315\n")
add_test(NAME cli_export_missing_tree COMMAND sh -c
    "rm -f '${cli_export_dir}-missing.ged'; '${cli_export_cmd}' export '${cli_export_dir}/none.vrd' '${cli_export_dir}-missing.ged' 2>&1; echo \"exit=$?\"; test -e '${cli_export_dir}-missing.ged' && echo written")
set_tests_properties(cli_export_missing_tree PROPERTIES
    PASS_REGULAR_EXPRESSION "exit=1\n$" FAIL_REGULAR_EXPRESSION "written")
# The import says what it kept of each kind and what it left out: royal92's burials, christenings and
# qualified dates, and its record numbers.
add_test(NAME cli_import_counts_every_kind COMMAND sh -c
    "rm -rf '${cli_export_dir}-royal' && '${cli_export_cmd}' import '${PROJECT_SOURCE_DIR}/tests/data/samples/gedcom/royal92.ged' --into '${cli_export_dir}-royal'")
set_tests_properties(cli_import_counts_every_kind PROPERTIES
    PASS_REGULAR_EXPRESSION "Divorces: 74\n.*Events: 208\n  Burial: 187\n  Christening: 20\n.*Qualified dates: 156\n.*Not kept: REFN ×12")
# GEDCOM 7.0 from the command line: the sample family written with --version 7.0 comes back with the same
# counts of every kind, through the same import command as a 5.5.1 file.
add_test(NAME cli_export_version7_round_trip COMMAND sh -c
    "rm -rf '${cli_export_dir}-7' && mkdir -p '${cli_export_dir}-7' && cd '${cli_export_dir}-7' && '${cli_export_cmd}' import '${PROJECT_SOURCE_DIR}/resources/sample/sample-family.ged' --into first | tail -n +2 | grep -v -e '^Families' -e '^Lines kept' -e '^  [^:]*$' -e 'not kept' -e '^Not kept' > first.txt && '${cli_export_cmd}' export first/sample-family/sample-family.vrd out.ged --version 7.0 && head -3 out.ged && '${cli_export_cmd}' import out.ged --into second | tail -n +2 | grep -v -e '^Families' -e '^Lines kept' -e '^  [^:]*$' -e 'not kept' -e '^Not kept' > second.txt && cmp first.txt second.txt && cat second.txt")
set_tests_properties(cli_export_version7_round_trip PROPERTIES
    PASS_REGULAR_EXPRESSION "out.ged\nIndividuals: 318\nFamilies: 88\nBreastfeeding relations: 4\nEvents: 0\n0 HEAD\r\n1 GEDC\r\n2 VERS 7.0\r\nIndividuals: 318\nMarriages: 83\nDivorces: 1\nBirth dates: 315\n")
