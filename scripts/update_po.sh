#!/usr/bin/env bash
# The command line's message catalogs.
#   scripts/update_po.sh           collects the texts marked with _, P_ and N_
#                                  in src/ into po/kolbrix2vantor.pot and
#                                  merges them into every po/LANG.po, keeping
#                                  the translations made so far
#   scripts/update_po.sh --check   changes nothing; fails while a marked text
#                                  has no translation in a po/LANG.po (CTest's
#                                  catalog_complete runs it)
# After an update, translate the entries of po/ja.po that are new (msgstr "")
# or marked fuzzy, and remove the fuzzy mark; the build compiles the catalog.
set -euo pipefail
cd "$(dirname "$0")/.."

# The template of the marked texts, from the sources in a fixed order.
make_template() {
  local sources
  mapfile -t sources < <(find src -name '*.cpp' -o -name '*.hpp' | LC_ALL=C sort)
  xgettext --language=C++ --from-code=UTF-8 --keyword=_ --keyword=N_ --keyword=P_:1,2 \
    --add-comments=TRANSLATORS: --add-location=file --sort-by-file --package-name=kolbrix2vantor \
    --omit-header -o "$1" "${sources[@]}"
}

if [ "${1:-}" = --check ]; then
  template=$(mktemp)
  trap 'rm -f "$template"' EXIT
  make_template "$template"
  for po in po/*.po; do
    # Untranslated and fuzzy entries count as missing.
    msgcmp "$po" "$template"
  done
  exit 0
fi

scripts/install_packages.sh gettext
make_template po/kolbrix2vantor.pot
for po in po/*.po; do
  msgmerge --quiet --update --backup=none --add-location=file --sort-by-file "$po" po/kolbrix2vantor.pot
done
