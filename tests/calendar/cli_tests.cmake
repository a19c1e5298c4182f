# The Umm al-Qura answers of the command line: two new moons it sees as the tabular calendar does, and a
# day where the two calendars part; back from Hijri, a day 30 that Umm al-Qura's Muharram 1445 lacks.
add_test(NAME cli_hijri_umalqura_ramadan COMMAND verdan-cli hijri --umalqura 2024-03-11)
set_tests_properties(cli_hijri_umalqura_ramadan PROPERTIES
    PASS_REGULAR_EXPRESSION "^14450901\nMonday 1 Ramadan 1445\n$")
add_test(NAME cli_hijri_umalqura_muharram COMMAND verdan-cli hijri 2023-07-19 --umalqura)
set_tests_properties(cli_hijri_umalqura_muharram PROPERTIES
    PASS_REGULAR_EXPRESSION "^14450101\nWednesday 1 Muharram 1445\n$")
add_test(NAME cli_hijri_umalqura_parts COMMAND verdan-cli hijri --umalqura 2020-01-01)
set_tests_properties(cli_hijri_umalqura_parts PROPERTIES
    PASS_REGULAR_EXPRESSION "^14410506\nWednesday 6 Jumada al-awwal 1441\n$")
add_test(NAME cli_hijri_tabular_parts COMMAND verdan-cli hijri 2020-01-01)
set_tests_properties(cli_hijri_tabular_parts PROPERTIES
    PASS_REGULAR_EXPRESSION "^14410505\nWednesday 5 Jumada al-awwal 1441\n$")
add_test(NAME cli_gregorian_umalqura COMMAND verdan-cli gregorian --umalqura 1441-05-06)
set_tests_properties(cli_gregorian_umalqura PROPERTIES PASS_REGULAR_EXPRESSION "^20200101\nWednesday 1 January 2020\n$")
add_test(NAME cli_gregorian_umalqura_short_month COMMAND verdan-cli gregorian --umalqura 1445-01-30)
set_tests_properties(cli_gregorian_umalqura_short_month PROPERTIES WILL_FAIL TRUE)
# The same day named in Persian (its digits in the sentence line) and in Urdu.
add_test(NAME cli_hijri_umalqura_persian COMMAND verdan-cli hijri --umalqura 2020-01-01 --lang fa)
set_tests_properties(cli_hijri_umalqura_persian PROPERTIES
    PASS_REGULAR_EXPRESSION "^14410506\nچهارشنبه ۶ جمادی‌الاول ۱۴۴۱\n$")
add_test(NAME cli_gregorian_urdu COMMAND verdan-cli gregorian 1445-09-01 --lang ur)
set_tests_properties(cli_gregorian_urdu PROPERTIES PASS_REGULAR_EXPRESSION "^20240311\nپیر 11 مارچ 2024\n$")
