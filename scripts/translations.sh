#!/usr/bin/env bash
# gateway-cli's and gateway-sim's translations (cli/translations/*.ts,
# sim/translations/*.ts) brought up to date with the texts of their sources
# (cli_sources, sim_sources below): new texts added unfinished, gone ones
# dropped. Then translate the unfinished ones (Qt Linguist, or an
# editor: each <translation type="unfinished">) and commit the .ts.
#   scripts/translations.sh           update the .ts
#   scripts/translations.sh --check   fail (listing them) when a text of the
#                                     sources is missing from a .ts, or a
#                                     translation is unfinished, empty,
#                                     vanished or obsolete; changes nothing
# The English .ts holds the plural forms only (lupdate -pluralonly): the
# sources are English. LUPDATE names the lupdate to run.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
# Qt 5's lupdate, wherever Qt 6's is first on the PATH: the .ts are kept
# by one lupdate, so that they do not change with the tool.
lupdate=${LUPDATE:-/usr/lib/qt5/bin/lupdate}
[ -x "$lupdate" ] || { echo "translations: FAIL: no $lupdate: it comes in Debian's package qttools5-dev-tools (scripts/deps.sh)" >&2; exit 1; }
# gateway-cli's sources, and what it shows from the libraries it shares
# with the window: the engine's progress and details, the value rules and
# the settings files' errors; and the language's fault (language/), which
# both programs show.
cli_sources=(cli language protocol/commissioning.cpp protocol/modulevalues.cpp settings/parameterfile.cpp)
# gateway-sim's: its refusals and usage (its log is not translated), and
# the language's fault (the system's failures in the program's words,
# language/systemwords.*, are gateway-cli's only).
sim_sources=(sim language/language.cpp)

# lupdate SOURCES... -- OPTION...: one .ts made current.
# (lupdate's warnings that a namespace "lacks Q_OBJECT" are dropped: tr()
# in namespace cli is cli::tr, command.h.)
run_lupdate() {
    { (cd "$root" && "$lupdate" -silent -no-obsolete -locations none -source-language en "$@") \
        2>&1 >&3 | { grep -v 'lacks Q_OBJECT macro$' || true; } >&2; } 3>&1
}
# update CLI-DIR SIM-DIR: the .ts files in those folders made current. The
# simulator's texts have no plural forms: it has no English .ts.
update() {
    run_lupdate "${cli_sources[@]}" -target-language ru -ts "$1/gateway-cli_ru.ts"
    run_lupdate -pluralonly "${cli_sources[@]}" -target-language en -ts "$1/gateway-cli_en.ts"
    run_lupdate "${sim_sources[@]}" -target-language ru -ts "$2/gateway-sim_ru.ts"
}

cli_dir=$root/cli/translations
sim_dir=$root/sim/translations
if [ "${1:-}" != --check ]; then
    update "$cli_dir" "$sim_dir"
    grep -c 'type="unfinished"' "$cli_dir"/*.ts "$sim_dir"/*.ts | sed 's/^/unfinished: /' || true
    exit 0
fi

status=0
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/cli" "$work/sim"
cp "$cli_dir"/*.ts "$work/cli"/
cp "$sim_dir"/*.ts "$work/sim"/
update "$work/cli" "$work/sim"
for ts in "$cli_dir"/*.ts "$sim_dir"/*.ts; do
    name=$(basename "$ts")
    folder=$(basename "$(dirname "$(dirname "$ts")")")
    name=$folder/$name
    if ! diff -u "$ts" "$work/$name" > "$work/$name.diff"; then
        echo "translations: $name is not current with the sources (scripts/translations.sh):"
        cat "$work/$name.diff"
        status=1
    fi
    # Unfinished, vanished or obsolete entries, and empty translations
    # (an empty numerus form included).
    if grep -nE 'type="(unfinished|vanished|obsolete)"|<translation>\s*</translation>|<translation/>|<numerusform>\s*</numerusform>|<numerusform/>' "$work/$name"; then
        echo "translations: $name has the entries above untranslated (scripts/translations.sh, then translate them)"
        status=1
    fi
    # tr() in a member of a class of namespace cli that is no QObject is
    # cli::tr at run time (context "cli"), but lupdate files it under the
    # class's name: its translation would never be found.
    for context in $(sed -n 's|^ *<name>cli::\([A-Za-z0-9_]*\)</name>$|\1|p' "$work/$name" | sort -u); do
        if ! grep -A2 -E "^class $context\b" "$root"/cli/*/*.h | grep -q Q_OBJECT; then
            echo "translations: $name files texts under cli::$context, which no translation reaches: write cli::tr(...) there"
            status=1
        fi
    done
done
exit $status
