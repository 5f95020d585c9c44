#!/usr/bin/env bash
# The manual pages and the bash completion kept in step with the programs: every
# option a program's --help names (for vrl73m-cli: every command and every option
# of every command's --help) appears in its manual page, every command and option
# of vrl73m-cli in the completion, and each page's version is the programs' one.
# usage: VRL_GUI=... VRL_CLI=... VRL_SIM=... man_pages.sh MAN_DIR COMPLETION
set -uo pipefail
MAN=${1:?manual page folder}
COMPLETION=${2:?completion file}
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

# The page's text with roff's escaped minus signs as plain ones.
page() { sed -e 's/\\-/-/g' "$MAN/$1.1"; }
# Options named in a help text's usage lines and option lists (not in its prose).
options() {
    grep -E -- '^(usage:| +(-|\[|vrl73m))' | grep -oE -- '(^|[^a-zA-Z0-9-])--?[a-z][a-z-]*' |
        grep -oE -- '--?[a-z][a-z-]*' | sort -u
}

check_page() { # NAME PROGRAM_HELP_TEXT
    local name=$1 help=$2 text
    text=$(page "$name")
    while read -r opt; do
        [ -z "$opt" ] && continue
        grep -qF -- "$opt" <<<"$text" || fail "$name.1 does not name $opt"
    done < <(options <<<"$help")
}

for prog in "VRL_GUI vrl73m" "VRL_SIM vrl73m-radiosim" "VRL_CLI vrl73m-cli"; do
    read -r var name <<<"$prog"
    exe=${!var:?}
    version=$("$exe" --version) || fail "$name --version failed"
    [ "$version" = "$name $(sed -n 's/^\.TH [^ ]* 1 "[^"]*" "vrl73m \([^"]*\)".*/\1/p' "$MAN/$name.1")" ] ||
        fail "$name.1 does not carry the version of '$version'"
    check_page "$name" "$("$exe" --help)"
done

cli=${VRL_CLI:?}
commands=$("$cli" --help | awk '/^  [a-z]/ {print $1}')
[ -n "$commands" ] || fail "vrl73m-cli --help lists no commands"
for c in $commands; do
    grep -qE -- "^\.B $(sed 's/-/\\\\-/g' <<<"$c")( |$)" "$MAN/vrl73m-cli.1" || fail "vrl73m-cli.1 has no entry for $c"
    grep -qE -- "(^| |\")$c( |\"|$)" "$COMPLETION" || fail "the completion does not offer $c"
    help=$("$cli" "$c" --help)
    check_page vrl73m-cli "$help"
    line=$(grep -E "^ *([a-z|-]*\|)?$c(\|[a-z|-]*)?\)" "$COMPLETION" | head -1)
    link=$(grep -E '^ *local link=' "$COMPLETION")
    for opt in $(options <<<"$help"); do
        [ "$opt" = "--help" ] && continue
        grep -qF -- "$opt" <<<"$line" ||
            { grep -qF -- '$link' <<<"$line" && grep -qF -- "$opt" <<<"$link"; } ||
            fail "the completion of $c does not offer $opt"
    done
done
[ "$failures" -eq 0 ] && echo "manual pages and completion in step"
exit $((failures > 0))
