# The window commands (built with Qt), offscreen: the print dialog on the
# embedded printer photographed, and a scripted session that answers a
# conflict question in its message box.
if "$kzpde" --help | grep -q '^  dialog'; then
  shots=$(mktemp -d)
  printf 'choose "Thick Paper"\nchoose "Long Edge"\npress Yes\n' >"$shots/conflict.txt"
  QT_QPA_PLATFORM=offscreen step dialog --screenshot "$shots/dialog"
  QT_QPA_PLATFORM=offscreen step view "$samples/option-rules.plist" --script "$shots/conflict.txt" --screenshot "$shots/view"
  rm -rf "$shots"
fi
