#!/usr/bin/env bash
# How the program meets hostile files in its application folder and on its
# command line: each case runs in a fresh copy of the default data, through
# the real screens (bench_hostile_run) or `cifrano --comprobar`, and prints its
# reaction, exit status, peak resident memory and time as a Markdown table. A
# case still running after 60 s counts as frozen (the run of 32,768 games
# gets 15 minutes).
# Usage: bash bench/hostile_inputs.sh [build folder=build-bench]
set -uo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
build=${1:-build-bench}
bash scripts/deps.sh imagemagick time >/dev/null
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DCIFRANO_BUILD_TESTS=OFF >/dev/null
cmake --build "$build" -j"$(nproc)" --target cifrano bench_hostile_run >/dev/null
program=$root/$build/bin/cifrano
run=$root/$build/bench/bench_hostile_run
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export QT_QPA_PLATFORM=offscreen

fresh() { rm -rf "$work/app"; cp -r "$root/data" "$work/app"; }

# case name, then the command; prints one row.
row() {
  local name=$1
  shift
  local out="$work/out" status
  /usr/bin/time -f "%M %e" -o "$work/time" timeout "${limit:-60}" "$@" >"$out" 2>&1
  status=$?
  local reaction
  reaction=$(grep -E '^(mensaje|fin|partida|última)|cifrano:' "$out" | grep -v "audio" | head -2 |
    tr '\n' ' ' | cut -c1-150)
  [ "$status" -eq 124 ] && reaction="FROZEN (killed after ${limit:-60} s)"
  read -r kb seconds < <(tail -n 1 "$work/time")
  [ -z "$reaction" ] && reaction="$(head -c 120 "$out" | tr -d '\000' | tr '\n\033' ' ?')"
  printf '| %s | %s | %s | %.1f MB | %s s |\n' "$name" "$reaction" "$status" \
    "$(awk "BEGIN { print $kb / 1024 }")" "$seconds"
}

echo "| Input | Reaction | Exit | Peak RSS | Time |"
echo "|---|---|---|---|---|"

fresh; python3 -c "print('9' * (10 * 1024 * 1024))" >"$work/app/configuracion.txt"
row "configuracion.txt: one 10 MiB line, 6 min, Inicio" "$run" "$work/app" 6
fresh; python3 -c "print('9' * 300 + ' + B =')" >"$work/app/configuracion.txt"
row "configuracion.txt: a 306-character line" "$run" "$work/app" 6
fresh; python3 -c "print('9' * 290 + ' + B =')" >"$work/app/configuracion.txt"
row "configuracion.txt: a 296-character line (within the limit), 6 min" "$run" "$work/app" 6
python3 -c "print('9' * (50 * 1024 * 1024))" >"$work/line50.txt"
row "--comprobar on a 50 MiB line" "$program" --comprobar "$work/line50.txt"
truncate -s 8G "$work/sparse.txt"
row "--comprobar on an 8 GiB sparse file" "$program" --comprobar "$work/sparse.txt"
python3 -c "print('1\n' * 1000, end='')" >"$work/many.txt"
row "--comprobar on 1,000 one-field lines" "$program" --comprobar "$work/many.txt"
fresh; mkfifo "$work/app/usuarios/0fifo.png"
row "user picture that is a FIFO" "$run" "$work/app" 1
fresh; mkfifo "$work/fifo"; ln -s "$work/fifo" "$work/app/usuarios/0link.png"
row "user picture that links to a FIFO" "$run" "$work/app" 1
fresh; rm "$work/app/gifs/6.gif"; mkfifo "$work/app/gifs/6.gif"
row "gifs/6.gif that is a FIFO, 6 min" "$run" "$work/app" 6
fresh; convert -size 2048x1 xc:red "$work/app/usuarios/0wide.png"
row "a 2048 x 1 PNG as user picture" "$run" "$work/app" 1
fresh; truncate -s 1G "$work/app/sonidos/ADELANTE.WAV"
row "ADELANTE.WAV of 1 GB" "$run" "$work/app" 1
fresh; python3 - "$work/app/sonidos/ADELANTE.WAV" <<'PY'
import struct, sys
header = b'RIFF' + struct.pack('<I', 0xFFFFFFF0) + b'WAVEfmt ' + struct.pack('<IHHIIHH', 16, 1, 1, 8000, 16000, 2, 16)
open(sys.argv[1], 'wb').write(header + b'data' + struct.pack('<I', 0xFFFFFFD0) + bytes(100))
PY
row "144-byte WAV whose header claims 4 GB" "$run" "$work/app" 1
printf 'AA + B =\nA\000B + C =\nA x B =\n' >"$work/nul.txt"
row "--comprobar, a line holding a NUL byte" sh -c "'$program' --comprobar '$work/nul.txt' | tail -2"
row "--comprobar > /dev/full" sh -c "'$program' --comprobar '$root/data/configuracion.txt' >/dev/full"
printf '\033[2J\033]0;titulo\007 + B =\n' >"$work/escape.txt"
row "--comprobar, escape sequences in a line" sh -c "'$program' --comprobar '$work/escape.txt' | grep -c $'\033' || true"
printf '1e308 x 1e308 =\n1e400 + B =\n' >"$work/overflow.txt"
row "--comprobar, 1e308 x 1e308 = and 1e400 + B =" sh -c "'$program' --comprobar '$work/overflow.txt' | grep 'nunca'"
fresh; chmod -R a+rX "$work"; chmod 000 "$work/app/usuarios"
row "usuarios/ the player cannot read (run as nobody)" runuser -u nobody -- "$run" "$work/app" 1
chmod 755 "$work/app/usuarios"
fresh
limit=900 row "32,768 one-minute games in one run" "$run" "$work/app" 1 0 32768
fresh
row "3.3 million presses of an arrow button" "$run" "$work/app" 1 3300000
