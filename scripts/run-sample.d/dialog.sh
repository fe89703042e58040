# The print dialog with the plug-in's panel (built with Qt), offscreen, on the
# embedded printer: a staple, then an output tray that cannot staple (the
# question answered Yes in its message box), the detailed settings window
# opened and closed, then Print. The embedded printer has no queue, so the
# job's options are printed and nothing is submitted.
if "$kzpde" --help | grep -q '^  dialog'; then
  work=$(mktemp -d)
  printf 'a page\n' >"$work/page.txt"
  printf '%s\n' 'choose "Top Left"' 'choose "Stacker Tray"' 'press Yes' \
    'press "Show Detailed Settings"' 'press Cancel' 'press Print' >"$work/session.txt"
  printf '\n$ kzpde dialog --script session.txt --screenshot shots page.txt | (not the custom entries)\n'
  CUPS_SERVER=/nonexistent QT_QPA_PLATFORM=offscreen "$kzpde" dialog --script "$work/session.txt" \
    --screenshot "$work/shots" "$work/page.txt" 2>&1 | grep -v -e 'PrintSettingsTicket\.' -e '^This plugin' \
    -e '^QStandardPaths' | sed "s|$work/||"
  rm -rf "$work"
fi
