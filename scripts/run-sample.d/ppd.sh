# PPD access and the print option forms: the bundle's product PPD as the panel
# reads it, and a print option brought into the canonical form and back.
step ppd info "$bundle/Contents/Resources/KZPrintServer.ppd"
step ppd info "$bundle/Contents/Resources/KZPrintServer.ppd" --json
printf '\n$ kzpde convert canonical < %s\n' "$samples/print-option-internal.json"
"$kzpde" convert canonical < "$samples/print-option-internal.json" | tee /tmp/kzpde-canonical.json
printf '\n$ kzpde convert internal < (the canonical form above)\n'
"$kzpde" convert internal < /tmp/kzpde-canonical.json
# Favorites hold the input-manager format: the canonical option through the
# bundle's convert table and back (PageSize has no row and is dropped; the
# yen-sign folder separators come back as backslashes).
printf '\n$ kzpde convert to-input-mgr < %s\n' "$samples/print-option-canonical.json"
"$kzpde" convert to-input-mgr < "$samples/print-option-canonical.json" | tee /tmp/kzpde-input-mgr.json
printf '\n$ kzpde convert to-ppd-keyword < (the tags above)\n'
"$kzpde" convert to-ppd-keyword < /tmp/kzpde-input-mgr.json
printf '\n$ kzpde convert to-ppd-keyword < %s\n' "$samples/favorite-options.json"
"$kzpde" convert to-ppd-keyword < "$samples/favorite-options.json"
