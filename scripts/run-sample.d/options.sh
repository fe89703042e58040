# The panel in the tool's headless print dialog on the embedded sample
# printer: restored, shown, changed as a user changes it (a conflict question
# answered, a text with characters the print settings escape, a password that
# only ever shows masked), saved; then the saved settings restored again.
settings=$(mktemp --suffix=.plist)
step options --set StapleMode=TopLeftCorner --set VLInputSlot=TrayStock --set "StockName=50%,'A4'" \
  --set SecurityPrint=True --set SecurityPrintPassword=Sesame-42 --write-settings "$settings"
# The stacker tray conflicts with the restored staple position: the
# question is answered no, so the staple position stays.
step options --settings "$settings" --set OutputTray=Stackertray --answer no --json
printf '\n$ kzpde options --set StapleMode=Sideways\n'
"$kzpde" options --set StapleMode=Sideways && status=0 || status=$?
echo "(exit $status)"
[ "$status" = 2 ]
rm -f "$settings"
