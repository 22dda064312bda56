#!/usr/bin/env bash
# A manual page and the xscreensaver settings description (or "none") as their
# readers take them: man formats the page without a warning, its NAME line
# indexes every program given, it documents every option each program's
# --help lists (in 80 columns), and the settings description is well-formed XML.
set -uo pipefail
page=$1 settings=$2
shift 2
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

# The same formatting that lintian's manual page check runs.
warnings=$(LC_ALL=C.UTF-8 MANROFFSEQ='' MANWIDTH=80 man --warnings -E UTF-8 -l -Tutf8 -Z "$page" 2>&1 >/dev/null)
[ -z "$warnings" ] || fail "man warns about the page: $warnings"
names=$(lexgrog "$page") || fail "lexgrog finds no NAME line: $names"
for name in $(for program in "$@"; do basename "$program"; done); do
  grep -q "\"$name - " <<<"$names" || fail "the NAME line does not index $name"
done

text=$(MANWIDTH=200 man -l "$page" 2>/dev/null)
for option in $(for program in "$@"; do "$program" --help; done | grep -oE -- '^ +--[a-z][a-z-]*' | sort -u); do
  # An entry of its own in a list of options, not a mention in passing.
  grep -qE -- "^ {7}(-[-a-z]+( [A-Z]+)?, )*$option( |,|$)" <<<"$text" || fail "the manual page has no entry for $option"
done

for program in "$@"; do
  "$program" --help | awk 'length > 80 { exit 1 }' || fail "$program --help has a line over 80 columns"
  # One rule gives every program that takes --seed its seed when it is not given.
  "$program" --help | grep -q -- '--seed' || continue
  "$program" --help | tr -s ' \n' ' ' | grep -qF '(default: mixed from the clock and the process id)' ||
    fail "$program --help gives another default seed"
done

[ "$settings" = none ] || xmllint --noout "$settings" || fail "$settings is not well-formed XML"

# Whatever the settings page can save must start the module: each number at
# its ends and in between (the daemon leaves out a value equal to the
# default), each choice of a list, each switch; a free text field could save
# anything, so there is none. Without a display the module stops just after
# reading its options, at the display.
x11=$(printf '%s\n' "$@" | grep -- '-x11$')
if [ -n "$x11" ]; then
  saved=$(python3 - "$settings" <<'EOF') || fail "the settings page has a field that takes any text"
import sys, xml.etree.ElementTree as tree
root = tree.parse(sys.argv[1]).getroot()
command = root.find('command').get('arg', '')
if any(True for _ in root.iter('string')): sys.exit(1)
for number in root.iter('number'):
    low, high, default = (int(float(number.get(k))) for k in ('low', 'high', 'default'))
    for value in sorted({low, low + 1, (low + high) // 2, high} - {default}):
        print(command, number.get('arg').replace('%', str(value)))
for option in root.iter('option'):
    print(command, option.get('arg-set', ''))
for switch in root.iter('boolean'):
    for key in ('arg-set', 'arg-unset'):
        if switch.get(key): print(command, switch.get(key))
EOF
  while read -r -a args; do
    said=$(DISPLAY=:99999 "$x11" "${args[@]}" 2>&1)
    grep -q 'X display' <<<"$said" || fail "the settings page can save '${args[*]}', which the module refuses: $said"
  done <<<"$saved"
fi
[ "$failures" -eq 0 ] || exit 1
echo "manual page and settings description: all checks passed"
