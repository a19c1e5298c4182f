# verdan-cli chart on the sample family: drawn around a man, saved as a chart file and drawn again from it
# with the same persons; a person the tree does not hold is refused.
find_package(Python3 COMPONENTS Interpreter)
if(Python3_FOUND)
    set(cli_chart_dir ${CMAKE_CURRENT_BINARY_DIR}/cli-chart)
    add_test(NAME cli_chart_round_trip COMMAND sh ${CMAKE_CURRENT_LIST_DIR}/cli_chart_round_trip.sh
        $<TARGET_FILE:verdan-cli> ${PROJECT_SOURCE_DIR}/resources/sample/sample-family.ged ${cli_chart_dir}
        ${Python3_EXECUTABLE})
    set_tests_properties(cli_chart_round_trip PROPERTIES PASS_REGULAR_EXPRESSION "same [0-9]+ persons")
    add_test(NAME cli_chart_unknown_person COMMAND sh -c
        "'$<TARGET_FILE:verdan-cli>' chart '${cli_chart_dir}/sample-family/sample-family.vrd' '{00000000-0000-0000-0000-000000000000}' --out '${cli_chart_dir}/x.png'; echo \"exit $?\"")
    set_tests_properties(cli_chart_unknown_person PROPERTIES DEPENDS cli_chart_round_trip
        PASS_REGULAR_EXPRESSION "no person .*exit 1")
endif()
# Nothing on a laid-out chart meets anything else, in both reading orders: every founder of the sample
# family six generations down, Victoria of royal92 four up and four down, and a branch of more than
# 10,000 persons of a generated tree.
if(Python3_FOUND)
    foreach(case IN ITEMS sample royal generated)
        if(case STREQUAL "sample")
            set(source ${PROJECT_SOURCE_DIR}/resources/sample/sample-family.ged)
        elseif(case STREQUAL "royal")
            set(source ${CMAKE_CURRENT_LIST_DIR}/../data/samples/gedcom/royal92.ged)
        else()
            set(source ${PROJECT_SOURCE_DIR}/scripts/gen_tree.py)
        endif()
        add_test(NAME cli_chart_no_overlap_${case} COMMAND sh ${CMAKE_CURRENT_LIST_DIR}/cli_chart_no_overlap.sh
            $<TARGET_FILE:verdan-cli> ${Python3_EXECUTABLE} ${CMAKE_CURRENT_LIST_DIR}/check_chart_json.py
            ${CMAKE_CURRENT_BINARY_DIR}/cli-chart-${case} ${case} ${source})
        set_tests_properties(cli_chart_no_overlap_${case} PROPERTIES PASS_REGULAR_EXPRESSION "\nok\n"
            FAIL_REGULAR_EXPRESSION "FAILED")
    endforeach()
    # --generations N alone: N generations up and N down around the person.
    add_test(NAME cli_chart_generations COMMAND sh ${CMAKE_CURRENT_LIST_DIR}/cli_chart_generations.sh
        $<TARGET_FILE:verdan-cli> ${Python3_EXECUTABLE} ${CMAKE_CURRENT_LIST_DIR}/check_chart_json.py
        ${cli_chart_dir}/sample-family/sample-family.vrd ${cli_chart_dir})
    set_tests_properties(cli_chart_generations PROPERTIES DEPENDS cli_chart_round_trip
        PASS_REGULAR_EXPRESSION "\nok\n")
endif()
add_test(NAME cli_chart_needs_output COMMAND verdan-cli chart tree.vrd someone)
set_tests_properties(cli_chart_needs_output PROPERTIES PASS_REGULAR_EXPRESSION "--out FILE is needed")
