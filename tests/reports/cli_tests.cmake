# The lists of a tree written from the command line: a CSV with one row per person and his father's name,
# a paginated PDF, a workbook, and a refusal of an unknown output kind before anything is read. Checks of
# one tree take it in turn: an open tree is held by one command alone.
set(cli_report_dir ${CMAKE_CURRENT_BINARY_DIR}/cli-report)
set(cli_report_tree ${cli_report_dir}/basic/basic.vrd)
add_test(NAME cli_report_tree COMMAND sh -c
    "rm -rf '${cli_report_dir}' && '$<TARGET_FILE:verdan-cli>' import '${CMAKE_CURRENT_LIST_DIR}/../data/gedcom/basic.ged' --into '${cli_report_dir}' >/dev/null")
set_tests_properties(cli_report_tree PROPERTIES FIXTURES_SETUP cli_report)
add_test(NAME cli_report_csv COMMAND sh -c
    "'$<TARGET_FILE:verdan-cli>' report persons '${cli_report_tree}' --out '${cli_report_dir}/list.csv' && cat '${cli_report_dir}/list.csv'")
set_tests_properties(cli_report_csv PROPERTIES FIXTURES_REQUIRED cli_report RESOURCE_LOCK cli_report
    PASS_REGULAR_EXPRESSION "5 rows written to [^\n]*list.csv\n.*\nAnn,Robert Eugene,,,,Williams,")
# Columns are named by field whatever the interface language, in the order given; an unknown name is
# refused with the names there are.
add_test(NAME cli_report_columns COMMAND sh -c
    "'$<TARGET_FILE:verdan-cli>' report persons '${cli_report_tree}' --out '${cli_report_dir}/dates.txt' --columns gender,NAME1 --lang ar && cat '${cli_report_dir}/dates.txt'")
set_tests_properties(cli_report_columns PROPERTIES FIXTURES_REQUIRED cli_report RESOURCE_LOCK cli_report
    PASS_REGULAR_EXPRESSION "الجنس\tالاسم\r?\nمجموعة\tOther Ancestries\r?\nذكر\tRobert Eugene\r?\n")
add_test(NAME cli_report_unknown_column COMMAND verdan-cli report persons ${cli_report_tree} --out ${cli_report_dir}/x.csv --columns Name1,birth)
set_tests_properties(cli_report_unknown_column PROPERTIES FIXTURES_REQUIRED cli_report RESOURCE_LOCK cli_report
    PASS_REGULAR_EXPRESSION "the persons list has no column birth; its columns are person_id,Name1,")
# The printed list carries every birth and death date the tree holds (royal92: 3,011 persons).
add_test(NAME cli_report_pdf_dates COMMAND python3 ${CMAKE_CURRENT_LIST_DIR}/report_pdf_dates.py
    $<TARGET_FILE:verdan-cli> ${CMAKE_CURRENT_LIST_DIR}/../data/samples/gedcom/royal92.ged
    ${CMAKE_CURRENT_BINARY_DIR}/cli-report-dates)
set_tests_properties(cli_report_pdf_dates PROPERTIES SKIP_RETURN_CODE 77 TIMEOUT 300
    PASS_REGULAR_EXPRESSION "6851 dates of 3011 persons, all in the PDF")
add_test(NAME cli_report_pdf COMMAND verdan-cli report persons ${cli_report_tree} --out ${cli_report_dir}/list.pdf --lang ar)
set_tests_properties(cli_report_pdf PROPERTIES FIXTURES_REQUIRED cli_report RESOURCE_LOCK cli_report
    PASS_REGULAR_EXPRESSION "5 rows, 1 pages written to ")
add_test(NAME cli_report_xlsx COMMAND sh -c
    "'$<TARGET_FILE:verdan-cli>' report addresses '${cli_report_tree}' --out '${cli_report_dir}/list.xlsx' && unzip -l '${cli_report_dir}/list.xlsx' 2>/dev/null || python3 -c \"import zipfile,sys; print(zipfile.ZipFile(sys.argv[1]).namelist())\" '${cli_report_dir}/list.xlsx'")
set_tests_properties(cli_report_xlsx PROPERTIES FIXTURES_REQUIRED cli_report RESOURCE_LOCK cli_report
    PASS_REGULAR_EXPRESSION "0 rows written to .*xl/worksheets/sheet1.xml")
add_test(NAME cli_report_unknown_kind COMMAND verdan-cli report persons ${cli_report_tree} --out ${cli_report_dir}/list.doc)
set_tests_properties(cli_report_unknown_kind PROPERTIES FIXTURES_REQUIRED cli_report RESOURCE_LOCK cli_report
    PASS_REGULAR_EXPRESSION "must end in .csv")

# The command-line name search lists what the search box lists: in the sample family all five persons
# named عيسى, also those whose father line is short in the tree; nobody found says so and fails.
set(cli_find_dir ${CMAKE_CURRENT_BINARY_DIR}/cli-find)
set(cli_find_tree ${cli_find_dir}/sample-family/sample-family.vrd)
set(cli_find_line "[{][-0-9A-F]+[}]\t[^\n]*عيسى[^\n]*\n")
add_test(NAME cli_find_prepare COMMAND sh -c
    "rm -rf '${cli_find_dir}' && '$<TARGET_FILE:verdan-cli>' import '${PROJECT_SOURCE_DIR}/resources/sample/sample-family.ged' --into '${cli_find_dir}' --lang ar")
set_tests_properties(cli_find_prepare PROPERTIES FIXTURES_SETUP cli_find_tree)
add_test(NAME cli_find_everyone_named COMMAND verdan-cli find ${cli_find_tree} عيسى)
set_tests_properties(cli_find_everyone_named PROPERTIES FIXTURES_REQUIRED cli_find_tree RESOURCE_LOCK cli_find_tree
    PASS_REGULAR_EXPRESSION "^${cli_find_line}${cli_find_line}${cli_find_line}${cli_find_line}${cli_find_line}$")
add_test(NAME cli_find_nobody COMMAND verdan-cli find ${cli_find_tree} زكرياوي --lang ar)
set_tests_properties(cli_find_nobody PROPERTIES FIXTURES_REQUIRED cli_find_tree RESOURCE_LOCK cli_find_tree WILL_FAIL TRUE)
add_test(NAME cli_find_nobody_says_so COMMAND verdan-cli find ${cli_find_tree} زكرياوي)
set_tests_properties(cli_find_nobody_says_so PROPERTIES FIXTURES_REQUIRED cli_find_tree RESOURCE_LOCK cli_find_tree
    PASS_REGULAR_EXPRESSION "^No person found\n$")

# Names are found however they are written: «ريان» lists the eight persons named «ريّان» and the group whose
# name holds it, «عمار» finds «عمّار», a lineage typed up to its last «بن» lists what its names list, and the
# general search finds «نصّار» by «نصار» exactly as by itself.
string(REPEAT "[{][-0-9A-F]+[}]\t[^\n]*ريّان[^\n]*\n" 9 cli_find_shadda_lines)
add_test(NAME cli_find_without_shadda COMMAND verdan-cli find ${cli_find_tree} ريان)
set_tests_properties(cli_find_without_shadda PROPERTIES FIXTURES_REQUIRED cli_find_tree RESOURCE_LOCK cli_find_tree
    PASS_REGULAR_EXPRESSION "^${cli_find_shadda_lines}$")
add_test(NAME cli_find_ammar COMMAND verdan-cli find ${cli_find_tree} عمار)
set_tests_properties(cli_find_ammar PROPERTIES FIXTURES_REQUIRED cli_find_tree RESOURCE_LOCK cli_find_tree
    PASS_REGULAR_EXPRESSION "^[{][-0-9A-F]+[}]\tعمّار[^\n]*\n$")
add_test(NAME cli_find_lineage_up_to_connective COMMAND sh -c
    "a=$('$<TARGET_FILE:verdan-cli>' find '${cli_find_tree}' 'محمد بن') && b=$('$<TARGET_FILE:verdan-cli>' find '${cli_find_tree}' محمد) && [ -n \"$a\" ] && [ \"$a\" = \"$b\" ] && echo same")
set_tests_properties(cli_find_lineage_up_to_connective PROPERTIES FIXTURES_REQUIRED cli_find_tree
    RESOURCE_LOCK cli_find_tree PASS_REGULAR_EXPRESSION "^same\n$")
add_test(NAME cli_search_without_shadda COMMAND sh -c
    "a=$('$<TARGET_FILE:verdan-cli>' search '${cli_find_tree}' نصار) && b=$('$<TARGET_FILE:verdan-cli>' search '${cli_find_tree}' نصّار) && [ \"$a\" = \"$b\" ] && echo \"$a\" | grep -c نصّار")
set_tests_properties(cli_search_without_shadda PROPERTIES FIXTURES_REQUIRED cli_find_tree
    RESOURCE_LOCK cli_find_tree PASS_REGULAR_EXPRESSION "^5[0-9]\n$")
