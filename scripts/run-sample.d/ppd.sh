# PPD access and the print option forms: the bundle's product PPD as the panel
# reads it, and a print option brought into the canonical form and back.
step ppd info "$bundle/Contents/Resources/KZPrintServer.ppd"
step ppd info "$bundle/Contents/Resources/KZPrintServer.ppd" --json
printf '\n$ kzpde convert canonical < %s\n' "$samples/print-option-internal.json"
"$kzpde" convert canonical < "$samples/print-option-internal.json" | tee /tmp/kzpde-canonical.json
printf '\n$ kzpde convert internal < (the canonical form above)\n'
"$kzpde" convert internal < /tmp/kzpde-canonical.json
