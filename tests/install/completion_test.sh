#!/usr/bin/env bash
# The bash completion of morva-cli in a scripted bash: commands, options, the settings keys after --set
# and their values after "KEY=", file names with blanks, presets and run identifiers, asked of the
# morva-cli found first on PATH.
# Usage: completion_test.sh COMPLETION_SCRIPT MORVA_CLI_DIRECTORY
set -euo pipefail
PATH=$2:$PATH
# A person who prefers English: the values are still read from the program's Japanese key table.
export LANGUAGE=en
# shellcheck source=/dev/null
source "$1"
failed=0

# The completions for the command line `words...`, the cursor at the end of the last word. Bash makes a
# word of each ':' in the line too.
complete_line() {
  COMP_WORDS=("$@")
  COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
  COMP_LINE="$*"
  COMP_LINE=${COMP_LINE// : /:}
  COMP_POINT=${#COMP_LINE}
  COMPREPLY=()
  _morva_cli
  printf '%s\n' "${COMPREPLY[@]}" | LC_ALL=C sort
}

expect() {
  local want=$1
  shift
  local got
  got=$(complete_line "$@")
  if [[ $got != "$want" ]]; then
    echo "FAIL: '$*' completed to '$got', expected '$want'" >&2
    failed=1
  fi
}

expect "FNM_IPN_SEL=" morva-cli --set FNM_IPN_S
expect "FNM_IPN_SEL=" morva-cli --home /tmp --set fnm_ipn_s
expect $'FNM_ID31=\nFNM_ID32=\nFNM_ID33=\nFNM_ID34=\nFNM_ID35=\nFNM_ID3_OPT=' morva-cli --set FNM_ID3
expect $'FNM_CKN_TGB=' morva-cli --set = FNM_CKN_
expect $'presets\npreview' morva-cli pre
expect $'keys' morva-cli --yes k
expect "--version" morva-cli --ver
expect "--set"$'\n'"--settings" morva-cli --se
expect "--save"$'\n'"--set"$'\n'"--settings" morva-cli --s
expect $'--json' morva-cli --js
expect $'undo' morva-cli help un
# After the command come targets: files and directories.
expect "/etc/hostname" morva-cli run /etc/hostnam

# After "KEY=": the values the key table lists for the key, its value in the job when it lists none,
# files for a path; bash makes words of the key, the "=" and the value.
expect $'0\n1\n2\n3\n4\n5\n6\n7\n8' morva-cli --set SW_FNM =
expect $'1\n2\n3' morva-cli --set fnm_ipn2 =
expect $'2' morva-cli --set FNM_IPN2 = 2
expect $'0\n1' morva-cli --set = PREF =
expect $'10' morva-cli --home /tmp --set OPT_1 = 1
expect $'PREF=0\nPREF=1' morva-cli --set PREF=
expect $'0000' morva-cli --set SW_ATR =

home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT

# File names with blanks stay whole, typed plain or escaped; directories only after --home.
mkdir "$home/my dir"
touch "$home/my file.txt" "$home/my dir/x y.jpg"
expect "$home/my dir"$'\n'"$home/my file.txt" morva-cli run "$home/my"
expect "$home/my file.txt" morva-cli preview "${home// /\\ }/my\\ f"
expect "$home/my dir/x y.jpg" morva-cli --yes run "$home/my dir/x"
expect "$home/my dir" morva-cli --home "$home/my"
expect "$home/my dir/x y.jpg" morva-cli --set FNM_CSV_PTH = "$home/my dir/"

# After --preset: the whole-job presets of the --home given, a name with a blank whole.
printf 'MORVA - 変換設定保存ファイル Version 6.1b \n\n<大 文字>\nSW_FNM = 1\n<小文字>\nSW_FNM = 1\n' |
  iconv -f UTF-8 -t CP932 > "$home/morvaset.dat"
expect $'大 文字' morva-cli --home "$home" --preset 大
expect $'大 文字\n小文字' morva-cli --home "$home" --preset ""

# After log and undo: the run identifiers of the log in the --home given, the date first, then the time.
for stamp in "2024/01/02 03:04:05" "2024/01/02 03:09:00" "2024/02/01 10:00:00"; do
  printf '%s  ■ MORVA - Version 6 - 変換実行開始 ■\r\n' "$stamp"
done | iconv -f UTF-8 -t CP932 > "$home/mvlogs.txt"
expect $'2024/01/02\n2024/02/01' morva-cli --home "$home" log ""
expect $'2024/01/02' morva-cli --home "$home" --yes undo 2024/01
expect $'2024/01/02\n2024/02/01' morva-cli --home "$home" undo ""
expect $'03:04:05\n03:09:00' morva-cli --home "$home" log 2024/01/02 ""
expect $'04:05\n09:00' morva-cli --home "$home" log 2024/01/02 03 : 0
expect $'09:00' morva-cli --home "$home" log 2024/01/02 03 : 09
expect "" morva-cli --home "$home" log 2024/01/02 03:04:05 ""
exit $failed
