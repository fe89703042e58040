# The pane plug-in manager over the product's bundle: every pane it loads
# (the Media bundle twice, for the front and the back cover), the panes tree
# as it resolves, a print option summarised by the PPD's display names, and
# the consistency check that printing needs (a secure job without its
# password, a stock tray without a stock name; then one that holds).
step panes
step panes --json
step panes tree
option=$(mktemp)

cat >"$option" <<'JSON'
{"ColorModel": "CMYK2", "StapleMode": "Saddle", "SecurityPrint": true, "SecurityPrintPassword": "",
 "VLInputSlot": "TrayStock", "JobName": "report.pdf"}
JSON
step summary "$option"
printf '\n$ kzpde check %s --json\n' "$option"
"$kzpde" check "$option" --json && status=0 || status=$?
echo "(exit $status)"
[ "$status" = 1 ]
printf '\n$ LANGUAGE=ja kzpde check < %s\n' "$option"
LANGUAGE=ja "$kzpde" check <"$option" || true
printf '\n$ echo {"SecurityPrint": "true"} | kzpde check\n'
echo '{"SecurityPrint": "true", "VLInputSlot": "TrayStock", "StockName": "Stock A"}' | "$kzpde" check
echo "(exit 0)"
rm -f "$option"
