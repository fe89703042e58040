# Server lists in a PPD: write them into the sample printer's PPD, check the
# result with cupstestppd, and read them back.
lists_ppd=$(mktemp --suffix=.ppd)
step ppd embed-lists "$samples/kz-sample-printer.ppd" "$samples/server-lists.plist" -o "$lists_ppd"
if command -v cupstestppd >/dev/null; then
  printf '\n$ cupstestppd -q %s\n' "$lists_ppd"
  cupstestppd -q "$lists_ppd" && echo "cupstestppd: PASS"
fi
step ppd lists "$lists_ppd" FeederInfoList
step ppd lists "$lists_ppd"
# No print server answers here: every list comes back empty, as in the panel.
step server lists --host 127.0.0.1 --port 9 --list StackerInfoList --list Font
rm -f "$lists_ppd"
