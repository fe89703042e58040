# The job name through the panel's "Job name..." dialog, as a user sets it:
# a typed name (stored escaped, shown as typed in the panel's label), the
# automatic name, and a name the dialog refuses with its alert (exit 1).
# `kzpde server refresh` needs a CUPS queue it may change, so it runs in the
# tests against a private scheduler (tests/refresh), not here.
printf '\n$ kzpde options --job-name %s --json | (job name and its settings entries)\n' "'Q3 report, \"final\"'"
"$kzpde" options --job-name 'Q3 report, "final"' --json 2>/dev/null \
  | python3 -c 'import json, sys
out = json.load(sys.stdin)
print(json.dumps({"jobName": out["jobName"],
                  "entries": {k: v for k, v in out["printSettings"].items() if k.endswith("JobName")}}, indent=1))'
printf '\n$ kzpde options --job-name auto | grep "^job name:"\n'
"$kzpde" options --job-name auto 2>/dev/null | grep '^job name:'
printf '\n$ kzpde options --job-name <256 characters>\n'
"$kzpde" options --job-name "$(printf 'n%.0s' $(seq 256))" 2>&1 >/dev/null || echo "(exit $?)"
