#!/usr/bin/env bash
# scripts/page as a bank's page developer uses it:
#  - the README's command, exactly as written there, runs the example page; the bank opens its request
#    with the MAC checked and finds the transfer the customer typed, and accepts the challenge answer;
#  - so does the help's example of blocks made by hand with banktool;
#  - the bank refuses, and scripts/page fails on, an answer to an earlier challenge (a replay), a TrnsMsg
#    whose MAC does not hold, one that does not open, and a page that throws.
#   page_test.sh ROOT   (RVP_PAGE_BUILD_DIR, RVP_PAGE_BENCH and RVP_PAGE_TEST_DIR come from ctest)
set -uo pipefail
root=$1
cd "$root" || exit 1
pages=${RVP_PAGE_TEST_DIR:-$(mktemp -d)}
mkdir -p "$pages"
failures=0

fail() {
  echo "FAILED: $*"
  failures=$((failures + 1))
}
# expect_in OUTPUT TEXT...: each text must be in the output.
expect_in() {
  local output=$1 text
  shift
  for text in "$@"; do
    grep -qF -- "$text" <<<"$output" || fail "missing from the output: $text"
  done
}

# ---- the README's example ----
command=$(sed -n '/^## Trying your own page/,/^## /s/^    \(scripts\/page [^ ]*\.html.*\)$/\1/p' README.md | head -n 1)
if [ -z "$command" ]; then
  fail "README.md shows no scripts/page command under \"## Trying your own page\""
else
  echo "== $command"
  output=$(bash -c "$command" 2>&1)
  status=$?
  echo "$output"
  [ "$status" -eq 0 ] || fail "the README's command exited with $status"
  # The transfer the example's customer typed, as the bank reads it: kind P014A2 from the postal card's
  # main account to the giro account 00012347, 500 dollars; the MAC right; the challenge answer accepted.
  expect_in "$output" "mac: ok" "<tac_id>P014A2</tac_id>" \
    "<trns_in_bank>70000000</trns_in_bank><trns_out_bank>70000019</trns_out_bank>" \
    "<trns_in_account>0000000000012347</trns_in_account>" \
    "<trns_out_account>7001234567890123</trns_out_account>" \
    "<trns_amount>00000000050000</trns_amount>" \
    "the page ran cleanly; the bank opened 1 TrnsMsg with the MAC checked"
  grep -qE '^mac: .{28} \(ok\)$' <<<"$output" || fail "the bank did not accept the challenge answer"
fi

# ---- pages whose failure scripts/page must report ----
page() {
  {
    echo "<script>function pluginLoaded(atm) {"
    echo "$2"
    echo "}</script>"
    echo '<embed id="plugin" type="application/roda-vennoral-plugin" onload="pluginLoaded">'
  } >"$pages/$1.html"
}

# The help's example of blocks made by hand with banktool and handed over with --settings, run as shown
# (in a scratch folder, with the programs of this build).
example=$(scripts/page --help | sed -n '/^Blocks made by hand/,/^$/p' | sed '1d' |
  sed "s#build/demo/#${RVP_PAGE_BUILD_DIR:-build/demo}/#; s#scripts/page demo/#$root/scripts/page $root/demo/#")
if ! grep -q 'banktool transfer' <<<"$example" || ! grep -q -- '--settings blocks.js' <<<"$example"; then
  fail "scripts/page --help shows no example of blocks made by hand"
else
  echo "== the help's example"
  output=$(cd "$pages" && bash -c "$example" 2>&1)
  status=$?
  echo "$output"
  [ "$status" -eq 0 ] || fail "the help's example exited with $status"
  expect_in "$output" "mac: ok" "<tac_id>P014A2</tac_id>" "<client_dttm>20261210131500</client_dttm>"
fi

# What an earlier run of the example left for the bank, for the replays below.
output=$(scripts/page demo/my-first-page.html --card postal --blocks kind=P014A2 --keep 2>&1)
echo "$output"
work=$(sed -n 's/^page: the work folder: //p' <<<"$output")
old_answer=$(sed -n 's/^CHALLENGE-ANSWER //p' "$work/page.log" 2>/dev/null)
old_trnsmsg=$(sed -n 's/^TRNSMSG //p' "$work/page.log" 2>/dev/null)
[ -n "$old_answer" ] && [ -n "$old_trnsmsg" ] || fail "the earlier run left no challenge answer or no TrnsMsg"
rm -rf "$work"
# The same TrnsMsg with one base64 character changed where it enciphers bytes 24 to 31 of the request:
# CBC carries the change into bytes 32 to 39, which the MAC covers; the envelope still opens.
char=${old_trnsmsg:36:1}
[ "$char" = A ] && char=B || char=A
tampered=${old_trnsmsg:0:36}$char${old_trnsmsg:37}

# refused NAME BODY SAYS...: a page doing BODY makes scripts/page exit with 1 and say each SAYS.
refused() {
  local output status
  page "$1" "$2"
  echo "== $1"
  output=$(scripts/page "$pages/$1.html" 2>&1)
  status=$?
  echo "$output"
  [ "$status" -eq 1 ] || fail "$1: scripts/page exited with $status, not 1"
  shift 2
  expect_in "$output" "$@"
  rm -rf "$(sed -n 's/^page: the work folder: //p' <<<"$output")"
}
refused replayed-answer "console.log(\"CHALLENGE-ANSWER $old_answer\");" "the challenge answer 1 is not accepted"
refused tampered-trnsmsg "console.log(\"TRNSMSG $tampered\");" "mac: BAD" \
  "TrnsMsg 1 does not open with its MAC checked"
refused damaged-trnsmsg 'console.log("TRNSMSG bm90IGEgc2VhbGVkIHRleHQ=|AAAA");' \
  "TrnsMsg 1 does not open with its MAC checked"
refused page-throws 'throw new Error("Transfer_V2 failed with 8990");' "the page did not run cleanly"

if [ "$failures" -ne 0 ]; then
  echo "$failures check(s) failed"
  exit 1
fi
echo "scripts/page: all checks held"
