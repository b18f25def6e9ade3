#!/bin/bash
# Kills morva-cli with SIGKILL at random moments while it writes the ID3 tags of MP3 files of several
# megabytes, and checks every file after each kill: it must read back whole (its former bytes, or the new
# tag in front of audio identical to the former audio), or a safety copy beside it must hold its former
# bytes exactly. The files cover every way the writer works: a tag changed inside its padding, a tag that
# grows (the file is rewritten), new tags at both ends, a version 4 tag with an ID3v1 block.
#
#   id3_kill_harness.sh MORVA_CLI [KILLS] [FILES] [MEGABYTES] [BASE_DIR]
#
# The files go to a fresh directory under BASE_DIR (default /tmp): a file system with reflinks (XFS,
# btrfs) takes the path where the writes of many files share one flush.
# Prints one line per kill and "N kills, M losses"; exits 1 when a file lost anything.
set -u
cli=$1
kills=${2:-100}
files=${3:-12}
megabytes=${4:-4}
base=${5:-/tmp}
python=/usr/bin/python3
[ -x "$python" ] || python=python3
job=(--set SW_ID3=1a0000a --set ID3_STR1=Harness --set ID3_STR6=Rock --set ID3_CTS=15)

work=$(mktemp -d "$base/morva-id3-kill-XXXXXX") || exit 1
trap 'rm -rf "$work"' EXIT
tools="$work/tools.py"
cat >"$tools" <<'EOF'
import os, random, sys

def synchsafe(n):
    return bytes([(n >> 21) & 0x7F, (n >> 14) & 0x7F, (n >> 7) & 0x7F, n & 0x7F])

def frame(fid, text, version):
    payload = b'\x00' + text.encode()
    size = synchsafe(len(payload)) if version == 4 else len(payload).to_bytes(4, 'big')
    return fid.encode() + size + b'\x00\x00' + payload

def tag(version, frames, padding):
    body = b''.join(frame(f, t, version) for f, t in frames) + bytes(padding)
    return b'ID3' + bytes([version, 0, 0]) + synchsafe(len(body)) + body

def v1(title):
    return b'TAG' + title.encode().ljust(125, b'\x00')

def make(tree, orig, count, megabytes):
    for i in range(count):
        rng = random.Random(i)
        audio = b'\xff\xfb\x90\x64' + rng.randbytes(megabytes * 1024 * 1024)
        kind = i % 4
        old = [('TIT2', 'old title %d' % i), ('TPE1', 'old artist'), ('TALB', 'album')]
        if kind == 0:    # the new items fit in the padding
            data = tag(3, old, 1000) + audio + v1('old')
        elif kind == 1:  # no padding: the tag grows and the file is rewritten
            data = tag(3, old, 0) + audio
        elif kind == 2:  # no tag: one is added at each end
            data = audio
        else:
            data = tag(4, old, 100) + audio + v1('old')
        name = 'song%02d.mp3' % i
        for d in (tree, orig):
            with open(os.path.join(d, name), 'wb') as f:
                f.write(data)

def split(data):
    """The ID3v2 frames as {id: text} (None when the tag does not read whole), and the audio."""
    start, frames = 0, {}
    if data[:3] == b'ID3':
        version = data[3]
        size = sum((b & 0x7F) << (7 * (3 - i)) for i, b in enumerate(data[6:10]))
        end = 10 + size
        if end > len(data):
            return None, b''
        at = 10
        while at + 10 <= end and data[at] != 0:
            fid = data[at:at + 4].decode('latin-1')
            raw = data[at + 4:at + 8]
            n = sum((b & 0x7F) << (7 * (3 - i)) for i, b in enumerate(raw)) if version == 4 else int.from_bytes(raw, 'big')
            if not fid.isalnum() or at + 10 + n > end:
                return None, b''
            frames.setdefault(fid, data[at + 11:at + 10 + n].decode('latin-1'))
            at += 10 + n
        if any(data[at:end]):
            return None, b''
        start = end
    stop = len(data) - 128 if data[-128:-125] == b'TAG' else len(data)
    return frames, data[start:stop]

def check(tree, orig):
    """Prints 'lost NAME' for each file that lost its former contents, then how many files hold their new
    tags and how many safety copies are left."""
    copies = changed = 0
    for name in sorted(os.listdir(orig)):
        with open(os.path.join(orig, name), 'rb') as f:
            before = f.read()
        path = os.path.join(tree, name)
        backups = [n for n in os.listdir(tree) if n.startswith(name + '.bak')]
        copies += len(backups)
        safe = False
        for b in backups:
            with open(os.path.join(tree, b), 'rb') as f:
                safe = safe or f.read() == before
        now = b''
        if os.path.exists(path):
            with open(path, 'rb') as f:
                now = f.read()
        if now == before:
            continue
        frames, audio = split(now)
        _, old_audio = split(before)
        whole = frames is not None and audio == old_audio
        new_tag = whole and frames.get('TIT2') == name[:-4] and frames.get('TPE1') == 'Harness'
        changed += new_tag
        if not new_tag and not safe:
            print('lost ' + name)
    print('changed %d' % changed)
    print('copies %d' % copies)

if sys.argv[1] == 'make':
    make(sys.argv[2], sys.argv[3], int(sys.argv[4]), int(sys.argv[5]))
else:
    check(sys.argv[2], sys.argv[3])
EOF

fresh_tree() {
  rm -rf "$work/tree" "$work/orig" "$work/home"
  mkdir "$work/tree" "$work/orig" "$work/home"
  "$python" "$tools" make "$work/tree" "$work/orig" "$files" "$megabytes" || exit 1
}

# One run to the end tells how long a run lasts here; the kills land anywhere in that time.
fresh_tree
start=$(date +%s%N)
"$cli" --home "$work/home" "${job[@]}" --yes run "$work/tree" >/dev/null 2>&1
span_us=$((($(date +%s%N) - start) / 1000 + 1))
echo "a whole run takes $((span_us / 1000)) ms"

losses=0
lost_any=0
for trial in $(seq 1 "$kills"); do
  fresh_tree
  "$cli" --home "$work/home" "${job[@]}" --yes run "$work/tree" >/dev/null 2>&1 &
  pid=$!
  delay_us=$(((RANDOM * 32768 + RANDOM) % span_us))
  sleep "$(printf '%d.%06d' $((delay_us / 1000000)) $((delay_us % 1000000)))"
  kill -KILL "$pid" 2>/dev/null
  wait "$pid" 2>/dev/null
  result=$("$python" "$tools" check "$work/tree" "$work/orig")
  lost=$(grep -c '^lost ' <<<"$result")
  copies=$(sed -n 's/^copies //p' <<<"$result")
  changed=$(sed -n 's/^changed //p' <<<"$result")
  losses=$((losses + lost))
  [ "$lost" -gt 0 ] && lost_any=1
  echo "kill $trial: $changed of $files files tagged, $lost lost, $copies safety copies left $(grep '^lost ' <<<"$result" | tr '\n' ' ')"
done
echo "$kills kills, $losses losses"
[ "$lost_any" -eq 0 ]
