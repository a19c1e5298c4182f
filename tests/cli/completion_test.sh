#!/usr/bin/env bash
# Asks the generated bash completion of verdan-cli what a user's Tab would offer, and checks the answers.
set -u
. "$1"
failed=0
complete_words() { # the words typed so far, the last one being completed
    COMP_WORDS=("$@")
    COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
    COMPREPLY=()
    _verdan_cli
    echo "${COMPREPLY[*]}"
}
expect() { # expected, then the words
    local want=$1
    shift
    local got
    got=$(complete_words "$@")
    if [[ "$got" != "$want" ]]; then
        echo "'$*': offered '$got', expected '$want'"
        failed=1
    fi
}
expect "check chart chain" verdan-cli ch
expect "--version" verdan-cli --v
expect "--out --open" verdan-cli chart tree.vrd --o
expect "ar en fa ur" verdan-cli info tree.vrd --lang ""
expect "en ar fa ur" verdan-cli hijri --lang ""
expect "persons contacts addresses" verdan-cli report ""
expect "" verdan-cli report persons ""
expect "" verdan-cli report --out list.pdf persons ""
expect "contacts" verdan-cli report --out list.pdf co
expect "" verdan-cli chart tree.vrd --out ""
expect "--umalqura" verdan-cli gregorian 1445-01-01 --u
[[ $failed -eq 0 ]] && echo "completion answers as expected"
exit $failed
