# Server lists in a PPD: write them into the sample printer's PPD, check the
# result with cupstestppd, and read them back. The sample lists are the rows
# the print service simulator gives for print-server-printer.plist, in the
# shape the panel reads: each list an array of rows, each row an array of texts.
lists_ppd=$(mktemp --suffix=.ppd)
step ppd embed-lists "$samples/kz-sample-printer.ppd" "$samples/server-lists.plist" -o "$lists_ppd"
if command -v cupstestppd >/dev/null; then
  printf '\n$ cupstestppd -q %s\n' "$lists_ppd"
  cupstestppd -q "$lists_ppd" && echo "cupstestppd: PASS"
fi
step ppd lists "$lists_ppd" FeederInfoList
step ppd lists "$lists_ppd"
rm -f "$lists_ppd"

# The lists a print server offers: the print service simulator serves the
# sample printer of print-server-printer.plist on a free local port.
cmake --build --preset default --target print_service_simulator >/dev/null
simulator_out=$(mktemp)
build/tests/webservice/print_service_simulator "$samples/print-server-printer.plist" >"$simulator_out" &
simulator_pid=$!
trap 'kill "$simulator_pid" 2>/dev/null || true' EXIT
for _ in $(seq 100); do [ -s "$simulator_out" ] && break; sleep 0.05; done
simulator_port=$(sed -n 's|^http://127\.0\.0\.1:\([0-9]*\)$|\1|p' "$simulator_out")
if [ -n "$simulator_port" ]; then
  step server lists --host 127.0.0.1 --port "$simulator_port"
  # Fetched, stored in a PPD and read back, a list is the same list.
  fetched=$(mktemp --suffix=.plist)
  "$kzpde" server lists --host 127.0.0.1 --port "$simulator_port" >"$fetched"
  lists_ppd=$(mktemp --suffix=.ppd)
  "$kzpde" ppd embed-lists "$samples/kz-sample-printer.ppd" "$fetched" -o "$lists_ppd"
  printf '\n$ kzpde ppd lists PPD-WITH-FETCHED-LISTS | (the same as fetched, and as the sample lists?)\n'
  "$kzpde" ppd lists "$lists_ppd" | python3 -c 'import plistlib, sys
carried = plistlib.loads(sys.stdin.buffer.read())
print("as fetched:", carried == plistlib.load(open(sys.argv[1], "rb")),
      "- as the sample lists:", carried == plistlib.load(open(sys.argv[2], "rb")))' "$fetched" "$samples/server-lists.plist"
  rm -f "$fetched" "$lists_ppd"
else
  echo "print_service_simulator did not start"
fi
kill "$simulator_pid" 2>/dev/null || true
wait "$simulator_pid" 2>/dev/null || true
trap - EXIT
rm -f "$simulator_out"
# No print server answers here: the lists that did not come are told on
# standard error, one line each, and the run exits 1.
step server lists --host 127.0.0.1 --port 9 --list StackerInfoList --list Font --timeout 5 ||
  echo "(exit status $?)"
