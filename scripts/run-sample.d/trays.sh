# The printer's devices shape the panel: the print service simulator serves a
# smaller printer (kz-small-printer.plist: trays 3, 1 and the high-capacity
# tray, a finisher tray and a second stacker, only a four-hole punch and a
# Z-fold unit, no stapler, no offset); its lists, fetched as the panel's rows,
# go into the printer's PPD before the panel opens. Against the product's own
# sample printer the input-tray, output-tray, staple, punch, fold and offset
# menus change. Then the automatic tray window is worked as a user works it.
cmake --build --preset default --target print_service_simulator >/dev/null
trays_out=$(mktemp)
trays_lists=$(mktemp --suffix=.plist)
build/tests/webservice/print_service_simulator "$samples/kz-small-printer.plist" >"$trays_out" &
trays_pid=$!
trap 'kill "$trays_pid" 2>/dev/null || true' EXIT
for _ in $(seq 100); do [ -s "$trays_out" ] && break; sleep 0.05; done
trays_port=$(sed -n 's|^http://127\.0\.0\.1:\([0-9]*\)$|\1|p' "$trays_out")
[ -n "$trays_port" ] || { echo "print_service_simulator did not start"; exit 1; }
printf '\n$ kzpde server lists --host 127.0.0.1 --port %s --list FeederInfoList --list StackerInfoList --list DeviceList --list PrePostDevice > LISTS\n' "$trays_port"
"$kzpde" server lists --host 127.0.0.1 --port "$trays_port" --list FeederInfoList --list StackerInfoList \
  --list DeviceList --list PrePostDevice >"$trays_lists"
kill "$trays_pid" 2>/dev/null || true
wait "$trays_pid" 2>/dev/null || true
trap - EXIT
cat "$trays_lists"
menus() { grep -E '^  (VLInputSlot|StapleMode|Punch_PunchHoles|Fold|OutputTray|OffsetMode) = .* of '; }
printf '\n$ kzpde options   (the product sample printer'"'"'s lists; the panel'"'"'s device menus)\n'
"$kzpde" options 2>/dev/null | menus
printf '\n$ kzpde options --lists LISTS   (the smaller printer'"'"'s lists: the same menus)\n'
"$kzpde" options --lists "$trays_lists" 2>/dev/null | menus
# The custom colour's name is open only for the custom colour; Close gathers
# the window's values into the settings the panel saves.
printf '\n$ kzpde options --lists LISTS --tray automatic PaperTypeD=CustomPaper7 PaperColor=StockCustom PaperColorCustomName=Sky MediaTypeWeight=W106to135\n'
"$kzpde" options --lists "$trays_lists" --tray automatic PaperTypeD=CustomPaper7 PaperColor=StockCustom \
  PaperColorCustomName=Sky MediaTypeWeight=W106to135 2>/dev/null |
  grep -E 'Ticket\.(PaperTypeD|PaperColorCustomName) |PPDChoice\.(PaperColor|MediaTypeWeight) |^tray windows|^  automatic:|^    (PaperTypeD|PaperColor|PaperColorCustomName|MediaTypeWeight) ='
printf '\n$ kzpde options --tray automatic PaperColorCustomName=Sky\n'
"$kzpde" options --tray automatic PaperColorCustomName=Sky >/dev/null && status=0 || status=$?
echo "(exit $status: the field is closed while the colour is not the custom one)"
[ "$status" = 1 ]
rm -f "$trays_out" "$trays_lists"
