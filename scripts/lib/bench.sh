# shellcheck shell=bash
# Shell functions shared by scripts/demo and scripts/page: build with progress, start pcscd, put a virtual
# card into the first reader, run a page in the test browser, and have the bank-side tool check what the
# page left for the bank. Source it after setting `bench_name` (the prefix of every message) and `root`.
#
# Globals it sets: bench_browser, bench_plugin, bench_cardsim, bench_banktool (bench_binaries),
# bench_reader (bench_insert_card), bench_work (the caller's scratch folder, set by the caller).

bench_card_pid=
bench_pcscd_pid=
bench_reader=

bench_say() { echo "$bench_name: $*"; }
bench_error() { echo "$bench_name: $*" >&2; }

# ---- building ----

# Ninja's "[N/M] ..." lines as one progress line rewritten in place on a terminal, or as a line at every
# tenth of the work elsewhere (a log or CI); everything else ninja says is left to the log.
bench_progress() {
  local line step='' total='' shown=-1 tenth width=100 tty=''
  if [ -t 1 ]; then
    tty=1
    width=$(tput cols 2>/dev/null || echo 100)
  fi
  while IFS= read -r line; do
    if [[ "$line" =~ ^\[([0-9]+)/([0-9]+)\]\ (.*)$ ]]; then
      step=${BASH_REMATCH[1]} total=${BASH_REMATCH[2]}
      if [ -n "$tty" ]; then
        line="  [$step/$total] ${BASH_REMATCH[3]}"
        printf '\r\033[K%s' "${line:0:$((width - 1))}"
      else
        tenth=$((step * 10 / total))
        if [ "$tenth" -ne "$shown" ]; then
          shown=$tenth
          echo "  [$step/$total] $((step * 100 / total))%"
        fi
      fi
    elif [ "$line" = "ninja: no work to do." ]; then
      echo "  up to date"
    fi
  done
  if [ -n "$tty" ] && [ -n "$step" ]; then echo; fi
}

# Prints what went wrong from a build log: from ninja's first FAILED line on (the failed command and the
# compiler's error), or the log's tail when there is none; then where the whole log is.
bench_build_failure() {
  local log=$1 what=$2
  bench_error "$what failed:"
  if grep -q '^FAILED: ' "$log"; then
    sed -n '/^FAILED: /,$p' "$log" | head -n 60 >&2
  else
    tail -n 40 "$log" >&2
  fi
  bench_error "the full log: $log"
}

# bench_build BUILD_DIR BUILD_TYPE SANITIZE(ON|OFF) TARGET...: configures and builds the targets, showing
# progress; the whole output goes to BUILD_DIR/build.log. Exits the script on failure.
bench_build() {
  local build=$1 type=$2 sanitize=$3
  shift 3
  local log=$build/build.log
  mkdir -p "$build"
  bench_say "building in $build (log: $log)"
  if ! cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE="$type" -DRVP_SANITIZE="$sanitize" >"$log" 2>&1; then
    bench_build_failure "$log" "configuring the build"
    exit 1
  fi
  if ! cmake --build "$build" -j "${RVP_BUILD_JOBS:-$(nproc)}" --target "$@" 2>&1 | tee -a "$log" | bench_progress; then
    bench_build_failure "$log" "the build"
    exit 1
  fi
}

# Sets the paths of the built programs of a build folder; exits when one is missing.
bench_binaries() {
  local build=$1 file
  bench_browser=$build/tools/testbrowser/testbrowser
  bench_plugin=$build/src/PluginAuto/npDUZIVUREZORO_paged.so
  bench_cardsim=$build/tools/cardsim/cardsim
  bench_banktool=$build/tools/banktool/banktool
  for file in "$bench_browser" "$bench_plugin" "$bench_cardsim" "$bench_banktool"; do
    [ -e "$file" ] || { bench_error "$file is not built"; exit 1; }
  done
}

# ---- pcscd and the virtual card ----

# Starts pcscd when none serves this process (the machine's, or a private bench's).
bench_pcscd_up() { bench_pcscd_pid=$("$root/scripts/pcscd-up"); }

bench_remove_card() {
  [ -z "$bench_card_pid" ] || {
    kill -TERM "$bench_card_pid" 2>/dev/null || true
    wait "$bench_card_pid" 2>/dev/null || true
  }
  bench_card_pid=
}

# Takes the card out and stops the pcscd this script started; for `trap bench_cleanup EXIT`.
bench_cleanup() {
  bench_remove_card
  [ -z "$bench_pcscd_pid" ] || kill -TERM "$bench_pcscd_pid" 2>/dev/null || true
  bench_pcscd_pid=
}

# The profile file of a card: a name under tools/cardsim/profiles (bank, postal) or a path.
bench_profile() {
  if [ -f "$1" ]; then echo "$1"; else echo "$root/tools/cardsim/profiles/$1.profile"; fi
}

# Puts the virtual card of a profile into the first reader and waits until pcscd reports it and it answers;
# sets bench_reader to the reader's name. A card inserted just after another was pulled out can be taken
# by pcscd for the old one and never powered: it is then pulled out and put in again.
bench_insert_card() {
  local profile log line
  profile=$(bench_profile "$1")
  [ -f "$profile" ] || { bench_error "no card profile $1 (bank, postal or a profile file)"; exit 1; }
  log=$bench_work/cardsim-$(basename "$profile" .profile).log
  for _ in 1 2 3; do
    "$bench_cardsim" --slot 0 "$profile" >"$log" 2>&1 &
    bench_card_pid=$!
    for _ in $(seq 1 50); do
      line=$("$bench_browser" --plugin "$bench_plugin" "$root/demo/card-ready.html" 2>/dev/null |
        grep -m1 '^CARD-READY ' || true)
      if [ -n "$line" ]; then
        bench_reader=${line#CARD-READY }
        return 0
      fi
      kill -0 "$bench_card_pid" 2>/dev/null || break
      sleep 0.1
    done
    bench_remove_card
    sleep 1
  done
  bench_error "the virtual card ($profile) did not come up, see $log"
  exit 1
}

# Reads from a card profile the text of a TLV record ("N = tlv TAG "TEXT"") of EF 1001: record 1 holds
# the issuer's bank id, record 3 the main account.
bench_profile_text() {
  sed -n '/^\[ef 1001\]/,/^\[/{s/^'"$2"' = tlv [0-9A-Fa-f]* "\([^"]*\)".*/\1/p}' "$(bench_profile "$1")" | head -n 1
}

# ---- the page and the bank ----

# A fresh server challenge, as its clear text. The plug-in's answer covers only the first 10 bytes of the
# challenge, so those are random; the rest is a label the answer does not cover.
bench_fresh_challenge() {
  local nonce
  nonce=$(head -c 64 /dev/urandom | base64 -w0 | tr -dc 'A-Za-z0-9' | head -c 10)
  echo "$nonce server challenge"
}

# Runs a page in the test browser with the plug-in; its log goes to LOG and is printed with the sealed
# texts shortened (the bank opens them afterwards). Returns the test browser's status.
#   bench_run_page LOG TESTBROWSER-ARGUMENTS...
bench_run_page() {
  local log=$1 status=0
  shift
  "$bench_browser" --plugin "$bench_plugin" "$@" >"$log" || status=$?
  sed -E 's/^(TRNSMSG|CHALLENGE-ANSWER) (.{0,24}).*/\1 \2... (sealed, opened below)/' "$log"
  return "$status"
}

# The Nth value (from 1) of the page's "NAME value" lines, with each "|" turned back into a line break.
bench_sealed() { sed -n "s/^$1 //p" "$3" | sed -n "$2p" | tr '|' '\n'; }
bench_sealed_count() { grep -c "^$1 " "$2" || true; }

# The bank's side of what a page left in its log: checks every "CHALLENGE-ANSWER" against the clear
# challenge and opens every "TRNSMSG" with the development keys, the MAC checked. Returns non-zero when
# one does not open or its MAC is wrong.
#   bench_open_for_bank LOG CLEAR-CHALLENGE
bench_open_for_bank() {
  local log=$1 challenge=$2 n count file failed=0
  count=$(bench_sealed_count CHALLENGE-ANSWER "$log")
  for n in $(seq 1 "$count"); do
    file=$bench_work/answer-$n.txt
    printf "%s" "$(bench_sealed CHALLENGE-ANSWER "$n" "$log")" >"$file"
    echo
    bench_say "the server checks the plug-in's answer to its challenge ($n of $count):"
    "$bench_banktool" answer --challenge "$challenge" "$file" || {
      failed=1
      bench_error "the challenge answer $n is not accepted"
    }
  done
  count=$(bench_sealed_count TRNSMSG "$log")
  for n in $(seq 1 "$count"); do
    file=$bench_work/TrnsMsg-$n.txt
    printf "%s" "$(bench_sealed TRNSMSG "$n" "$log")" >"$file"
    echo
    bench_say "the bank opens TrnsMsg ($n of $count):"
    "$bench_banktool" open "$file" || {
      failed=1
      bench_error "TrnsMsg $n does not open with its MAC checked"
    }
  done
  return "$failed"
}
