#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Gathers the program's translatable texts from src/ into the Russian translation
# source, keeping every translation already made. New texts come in marked
# unfinished: translate them (Qt Linguist, or by hand in the file) and the build
# makes quillet.ru from it. Run again after texts were added or changed.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
lupdate=${LUPDATE:-}
if [ -z "$lupdate" ]; then
  for candidate in lupdate lupdate-qt6 /usr/lib/qt6/bin/lupdate; do
    if command -v "$candidate" >/dev/null 2>&1; then lupdate=$candidate; break; fi
  done
fi
if [ -z "$lupdate" ]; then
  echo "update-translations: lupdate not found (Debian package qt6-l10n-tools)" >&2
  exit 1
fi
ts=${1:-$here/resources/translations/quillet_ru.ts}
# No source locations: line numbers would change the file at every edit of the code.
# The command-line tools speak English only and hold no translatable texts.
"$lupdate" -silent -locations none -no-obsolete -source-language en -target-language ru \
  -extensions cpp,h "$here/src" -ts "$ts"
unfinished=$(grep -c 'type="unfinished"' "$ts" || true)
echo "update-translations: $ts has $unfinished text(s) still to translate"
