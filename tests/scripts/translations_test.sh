#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Every translatable text in src/ has its Russian translation: the texts are
# gathered again into a copy of the translation source, and any that comes in
# unfinished (new, or changed since it was translated) is listed and fails.
# Fix: run scripts/update-translations.sh and translate the listed texts.
set -euo pipefail
source_dir=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$source_dir/resources/translations/quillet_ru.ts" "$work/quillet_ru.ts"
bash "$source_dir/scripts/update-translations.sh" "$work/quillet_ru.ts" >/dev/null
if grep -q 'type="unfinished"' "$work/quillet_ru.ts"; then
  echo "Texts without a Russian translation (run scripts/update-translations.sh, then translate):"
  grep -B1 'type="unfinished"' "$work/quillet_ru.ts" | grep '<source>' | sed 's/^ *//'
  exit 1
fi
# Nothing translated empty either.
if grep -q '<translation></translation>' "$work/quillet_ru.ts"; then
  echo "Empty translations in quillet_ru.ts"
  exit 1
fi
echo "All texts translated: $(grep -c '<message>' "$work/quillet_ru.ts")"
