#!/usr/bin/env bash
# Regenerates the default data folder (data/) of Cifrano: sound cues, clock
# animations, sample users, the operation types and the application icon.
# Everything is synthesised or drawn here, so the media are our own and can be
# rebuilt at any time. Needs sox and ImageMagick 6 (convert).
# Running it again rewrites the same files with the same bytes.
set -euo pipefail

repoRoot="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
data="$repoRoot/data"

for tool in sox convert; do
  command -v "$tool" >/dev/null || { echo "make_media.sh: '$tool' is missing" >&2; exit 1; }
done

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

# Numbers are written with '.' whatever the user's locale.
export LC_ALL=C

mkdir -p "$data/sonidos" "$data/gifs" "$data/usuarios"

# ---------------------------------------------------------------- sounds
# Every cue: 16-bit PCM, mono, 22050 Hz, soft attack and release, peak well
# below full scale so that a cue never startles.
rate=22050
# -R seeds noise and dither with a fixed number: the same bytes on every run.
Sox() { sox -R "$@"; }
wavOpts=(-r "$rate" -b 16 -c 1)

# Note <out> <seconds> <freq> <wave> [extra sox effects...]
# A tone with its octave mixed in (a rounder, bell-like timbre), a
# 5 ms attack and a quarter-sine release over most of its length.
Note() {
  local out=$1 len=$2 freq=$3 wave=$4
  shift 4
  local octave
  octave=$(awk -v f="$freq" 'BEGIN { printf "%.2f", f * 2 }')
  Sox -n "${wavOpts[@]}" "$out" synth "$len" "$wave" "$freq" sine mix "$octave" \
    fade q 0.005 "$len" "$(awk -v l="$len" 'BEGIN { printf "%.3f", l * 0.8 }')" "$@"
}

# Finish <out> <peak dB> <inputs...>: joins the inputs one after the other,
# normalises to the given peak and adds 20 ms of silence so the tail is not
# clipped by players that stop at the last sample.
Finish() {
  local out=$1 peak=$2
  shift 2
  Sox "$@" "${wavOpts[@]}" "$out" gain -n "$peak" pad 0 0.02
}

s="$work/snd"
mkdir -p "$s"

# ACIERTO: bright rising two-note chime (C6 then G6).
Note "$s/a1.wav" 0.11 1046.50 sine
Note "$s/a2.wav" 0.30 1567.98 sine
Finish "$data/sonidos/ACIERTO.WAV" -7 "$s/a1.wav" "$s/a2.wav"

# ERROR: low, soft, slightly buzzy descending pair; the low-pass keeps the
# square wave from sounding harsh.
Sox -n "${wavOpts[@]}" "$s/e1.wav" synth 0.16 square 233.08 sine mix 116.54 \
  lowpass 900 fade q 0.01 0.16 0.06
Sox -n "${wavOpts[@]}" "$s/e2.wav" synth 0.26 square 174.61 sine mix 87.31 \
  lowpass 800 fade q 0.01 0.26 0.18
Finish "$data/sonidos/ERROR.WAV" -9 "$s/e1.wav" "$s/e2.wav"

# FINAL: a little fanfare, G4 C5 E5 then a held C major chord.
Note "$s/f1.wav" 0.12 392.00 triangle
Note "$s/f2.wav" 0.12 523.25 triangle
Note "$s/f3.wav" 0.12 659.25 triangle
Sox -n "${wavOpts[@]}" "$s/f4.wav" synth 0.85 triangle 523.25 triangle mix 659.25 \
  triangle mix 783.99 sine mix 1046.50 tremolo 5 15 fade q 0.01 0.85 0.6
Finish "$data/sonidos/FINAL.WAV" -7 "$s/f1.wav" "$s/f2.wav" "$s/f3.wav" "$s/f4.wav"

# BOTON: short upward blip.
Sox -n "${wavOpts[@]}" "$s/b.wav" synth 0.10 sine 700:1150 fade q 0.004 0.10 0.07
Finish "$data/sonidos/BOTON.WAV" -9 "$s/b.wav"

# LIST: soft tick, a very short high tone that dies away at once.
Sox -n "${wavOpts[@]}" "$s/l.wav" synth 0.10 sine 1760 sine mix 2637 \
  fade q 0.002 0.10 0.095
Finish "$data/sonidos/LIST.WAV" -14 "$s/l.wav"

# ARRIBAABAJO: short swoosh, band-limited noise that swells and fades.
Sox -n "${wavOpts[@]}" "$s/w.wav" synth 0.28 pinknoise \
  highpass 500 lowpass 3500 fade h 0.12 0.28 0.16
Finish "$data/sonidos/ARRIBAABAJO.WAV" -12 "$s/w.wav"

# ADELANTE: ascending arpeggio C5 E5 G5 C6.
Note "$s/d1.wav" 0.08 523.25 sine
Note "$s/d2.wav" 0.08 659.25 sine
Note "$s/d3.wav" 0.08 783.99 sine
Note "$s/d4.wav" 0.26 1046.50 sine
Finish "$data/sonidos/ADELANTE.WAV" -8 "$s/d1.wav" "$s/d2.wav" "$s/d3.wav" "$s/d4.wav"

# CONTINUAR: confident two-note, a fourth upwards in the middle register.
Note "$s/c1.wav" 0.14 392.00 triangle
Note "$s/c2.wav" 0.30 523.25 triangle
Finish "$data/sonidos/CONTINUAR.WAV" -7 "$s/c1.wav" "$s/c2.wav"

# ---------------------------------------------------------------- pictures
# PNG files carry no dates, so the bytes only change when the drawing does.
pngOpts=(-strip -depth 8 -define 'png:exclude-chunks=date,time')

# ---- clock animations: a round little walker crossing the game screen.
# Frame <out> <body colour> <dark colour> <frame 0..5>
# The figure faces right, the way it moves on the game screen; its legs swing
# behind the body and the body bobs once per step.
Frame() {
  local out=$1 body=$2 dark=$3 i=$4
  # awk prints the ImageMagick draw primitives of this frame, one per line.
  local -a prims
  mapfile -t prims < <(awk -v i="$i" 'BEGIN {
    pi = 3.14159265358979
    ph = 2 * pi * i / 6
    swing = 0.55 * sin(ph)
    cx = 40; cy = 36 - 2 * sin(ph) ^ 2; r = 22
    hy = cy + 16; L = 18
    # The two legs swing in opposite phase from hips hidden behind the body.
    # The leg swinging forward is lifted a little, so every frame differs.
    lb = L - 4 * (cos(ph) < 0 ? -cos(ph) : 0)
    lf = L - 4 * (cos(ph) > 0 ? cos(ph) : 0)
    bx = 34 - lb * sin(swing); by = hy + lb * cos(swing)
    fx = 45 + lf * sin(swing); fy = hy + lf * cos(swing)
    printf "stroke-linecap round line 34,%.1f %.1f,%.1f\n", hy, bx, by
    printf "ellipse %.1f,%.1f 6,3 0,360\n", bx + 3, by
    printf "stroke-linecap round line 45,%.1f %.1f,%.1f\n", hy, fx, fy
    printf "ellipse %.1f,%.1f 6,3 0,360\n", fx + 3, fy
    printf "circle %.1f,%.1f %.1f,%.1f\n", cx, cy, cx + r, cy
    printf "ellipse %.1f,%.1f 5,6 0,360\n", cx + 7, cy - 7
    printf "ellipse %.1f,%.1f 4,6 0,360\n", cx + 17, cy - 7
    printf "circle %.1f,%.1f %.1f,%.1f\n", cx + 9, cy - 6, cx + 11, cy - 6
    printf "circle %.1f,%.1f %.1f,%.1f\n", cx + 18.5, cy - 6, cx + 20.5, cy - 6
    printf "arc %.1f,%.1f %.1f,%.1f 20,160\n", cx + 6, cy + 1, cx + 18, cy + 11
    printf "circle %.1f,%.1f %.1f,%.1f\n", cx + 2, cy + 4, cx + 5, cy + 4
  }')
  convert -size 81x81 xc:white \
    -stroke "$dark" -strokewidth 5 -draw "${prims[0]}" \
    -stroke none -fill "$dark" -draw "${prims[1]}" \
    -stroke "$dark" -strokewidth 5 -draw "${prims[2]}" \
    -stroke none -fill "$dark" -draw "${prims[3]}" \
    -stroke "$dark" -strokewidth 2 -fill "$body" -draw "${prims[4]}" \
    -stroke none -fill white -draw "${prims[5]}" -draw "${prims[6]}" \
    -fill black -draw "${prims[7]}" -draw "${prims[8]}" \
    -fill none -stroke black -strokewidth 2 -draw "${prims[9]}" \
    -stroke none -fill '#ff9a9a' -draw "${prims[10]}" \
    "${pngOpts[@]}" "$out"
}

# One colour per game length, dark enough to read on the white game screen.
gifColours=(
  "1 #ef5350 #8e1b1b"
  "2 #ffa726 #9a4d00"
  "3 #ffd54f #8a6d00"
  "4 #66bb6a #1e5e22"
  "5 #42a5f5 #0d4a87"
  "6 #ab47bc #551a63"
)
for entry in "${gifColours[@]}"; do
  read -r minutes body dark <<<"$entry"
  frames=()
  for i in 0 1 2 3 4 5; do
    Frame "$work/walk$minutes-$i.png" "$body" "$dark" "$i"
    frames+=("$work/walk$minutes-$i.png")
  done
  convert -delay 12 -loop 0 "${frames[@]}" +dither -colors 32 -layers Optimize \
    "$data/gifs/$minutes.gif"
done

# ---- sample users: one friendly drawn portrait each.
# Portrait <out> <width> <height> <background> <skin> <hair> <shirt> <hair style>
# Features are laid out relative to the picture, so any size and aspect
# ratio gives a centred head and shoulders.
Portrait() {
  local out=$1 w=$2 h=$3 bg=$4 skin=$5 hair=$6 shirt=$7 style=$8
  local geom
  geom=$(awk -v w="$w" -v h="$h" 'BEGIN {
    u = (w < h ? w : h) / 100.0
    cx = w / 2; cy = h * 0.44; r = 26 * u
    printf "%.1f %.1f %.1f %.1f\n", u, cx, cy, r
  }')
  local u cx cy r
  read -r u cx cy r <<<"$geom"
  P() { awk -v u="$u" -v cx="$cx" -v cy="$cy" -v r="$r" -v w="$w" -v h="$h" "BEGIN { printf $1 }"; }
  # Hair that shows behind the head; short hair is only the cap drawn later.
  local -a hairBack=()
  case $style in
    long)   # hair falling past the face on both sides
      hairBack=(-draw "roundrectangle $(P '"%.1f,%.1f %.1f,%.1f %.1f,%.1f", cx-r*1.2, cy-r*1.15, cx+r*1.2, cy+r*1.25, r*0.6, r*0.6')") ;;
    bun)    # hair drawn back with a bun on top
      hairBack=(-draw "circle $(P '"%.1f,%.1f %.1f,%.1f", cx, cy-r*1.25, cx+r*0.45, cy-r*1.25')") ;;
    curly)  # a wide round cloud of curls
      hairBack=(-draw "circle $(P '"%.1f,%.1f %.1f,%.1f", cx, cy-r*0.25, cx+r*1.3, cy-r*0.25')") ;;
    short) ;;
  esac
  convert -size "${w}x${h}" "xc:$bg" \
    -fill "$shirt" -stroke none \
    -draw "ellipse $(P '"%.1f,%.1f %.1f,%.1f", cx, h + r*0.35, r*1.9, r*1.45') 0,360" \
    -fill "$skin" -draw "rectangle $(P '"%.1f,%.1f %.1f,%.1f", cx-r*0.3, cy+r*0.8, cx+r*0.3, cy+r*1.35')" \
    -fill "$hair" "${hairBack[@]}" \
    -fill "$skin" -draw "circle $cx,$cy $(P '"%.1f,%.1f", cx+r, cy')" \
    -draw "circle $(P '"%.1f,%.1f %.1f,%.1f", cx-r, cy+r*0.1, cx-r*1.18, cy+r*0.1')" \
    -draw "circle $(P '"%.1f,%.1f %.1f,%.1f", cx+r, cy+r*0.1, cx+r*1.18, cy+r*0.1')" \
    -fill "$hair" \
    -draw "ellipse $(P '"%.1f,%.1f %.1f,%.1f", cx, cy-r*0.45, r*1.02, r*0.62') 180,360" \
    -fill '#333333' \
    -draw "circle $(P '"%.1f,%.1f %.1f,%.1f", cx-r*0.38, cy+r*0.05, cx-r*0.38+r*0.11, cy+r*0.05')" \
    -draw "circle $(P '"%.1f,%.1f %.1f,%.1f", cx+r*0.38, cy+r*0.05, cx+r*0.38+r*0.11, cy+r*0.05')" \
    -fill '#f4a0a0' \
    -draw "circle $(P '"%.1f,%.1f %.1f,%.1f", cx-r*0.6, cy+r*0.35, cx-r*0.6+r*0.12, cy+r*0.35')" \
    -draw "circle $(P '"%.1f,%.1f %.1f,%.1f", cx+r*0.6, cy+r*0.35, cx+r*0.6+r*0.12, cy+r*0.35')" \
    -fill none -stroke '#8a3b2e' -strokewidth "$(P '"%.1f", u*1.6')" \
    -draw "arc $(P '"%.1f,%.1f %.1f,%.1f", cx-r*0.4, cy+r*0.05, cx+r*0.4, cy+r*0.6') 20,160" \
    "$work/portrait.png"
  case $out in
    *.bmp) convert "$work/portrait.png" -alpha off -type TrueColor "BMP3:$out" ;;
    *.jpg) convert "$work/portrait.png" -strip -quality 88 -sampling-factor 2x2 "$out" ;;
    *.gif) convert "$work/portrait.png" -colors 64 "$out" ;;
    *.png) convert "$work/portrait.png" "${pngOpts[@]}" "$out" ;;
  esac
}

# The user's name is the file name less its last four characters, so every
# extension has exactly three letters.
Portrait "$data/usuarios/Ana.bmp"    120 150 '#cfe8ff' '#f6d2b8' '#6b3e26' '#e85d75' long
Portrait "$data/usuarios/Carlos.gif" 200 200 '#fff3b0' '#e8b48f' '#2b2b2b' '#3f7fd9' short
Portrait "$data/usuarios/Lucía.jpg"   96 128 '#e3d7ff' '#f9dcc4' '#d89b3c' '#4caf50' bun
Portrait "$data/usuarios/Mateo.png"  160 120 '#d4f5d4' '#c98e64' '#3b2314' '#ff8f3d' short
Portrait "$data/usuarios/Sofía.png"  140 180 '#ffe0ec' '#8d5a3b' '#1d1d1d' '#8e5bd6' curly
Portrait "$data/usuarios/Diego.bmp"  150 110 '#ffe4c4' '#f2c9a5' '#a0522d' '#2e9e8f' short

# ---------------------------------------------------------------- operation types
# One operation type per line, tokens separated by single spaces, easy to
# hard. Letter codes: A.. in the first number, B.. in the second, C or BBBB
# in the third; "*" draws +, - or x per problem. In a division the first
# number is made from the second (it is second x 2..9), so its code only
# tells the player how long it is.
cat >"$data/configuracion.txt" <<'EOF'
A + B =
A - B =
AA + B =
AA - B =
A x B =
AA : B =
A * B =
AA + BB =
AA - BB =
AA x B =
AA * B =
AAA + BB =
AAA - BB =
A x B + C =
A x B - C =
A + B x C =
A ( B + C ) =
A ( B - C ) =
AAA + BBB =
AAA - BBB =
AA x BB =
AAA : BB =
AA * BB =
AA : B + C =
AA : B - C =
A x B x C =
A ( B x C ) =
A ( BB + C ) =
AAAA + BBB =
AAAA - BBB =
AAA x B =
AAAA : BBB =
A * B * C =
AA x B + BBBB =
EOF

# ---------------------------------------------------------------- icon
# A blue tile with a stopwatch whose face shows the four operations.
convert -size 256x256 xc:none \
  -fill '#1e6fd9' -stroke none -draw "roundrectangle 8,8 247,247 44,44" \
  -fill '#ffffff' -stroke '#0f4a99' -strokewidth 6 \
  -draw "roundrectangle 110,18 146,60 6,6" -draw "circle 201,71 201,86" \
  -fill '#ffffff' -stroke '#0f4a99' -strokewidth 6 -draw "circle 128,144 128,50" \
  -stroke none \
  -fill '#e53935' -draw "rectangle 70,101 114,115" -draw "rectangle 85,86 99,130" \
  -fill '#1e88e5' -draw "rectangle 142,101 186,115" \
  -fill '#43a047' -stroke '#43a047' -strokewidth 13 \
  -draw "stroke-linecap round line 78,164 106,192" -draw "stroke-linecap round line 106,164 78,192" \
  -stroke none -fill '#fb8c00' -draw "rectangle 142,171 186,185" \
  -draw "circle 164,159 164,166" -draw "circle 164,197 164,204" \
  "${pngOpts[@]}" "$data/icon.png"

echo "Media written to $data"
