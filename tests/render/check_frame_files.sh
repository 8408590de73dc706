#!/usr/bin/env bash
# Reads the frame files that render_tests (FrameFiles.ForTheReaders) left in
# the given folder with libtiff's tools and ImageMagick, and compares the
# samples they decode with the expected samples written beside each file.
set -uo pipefail
folder=${1:?usage: check_frame_files.sh folder}
failures=0
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}

# expect_contains name text pattern
expect_contains() {
  grep -Eq -- "$3" <<<"$2" || fail "$1: no \"$3\" in:"$'\n'"$2"
}

# tiff name width height photometric samples-per-pixel data-offset
check_tiff() {
  local name=$1 width=$2 height=$3 photometric=$4 spp=$5 offset=$6
  local file=$folder/$name.tif
  [ -f "$file" ] || { fail "$file missing"; return; }
  local info dump
  info=$(tiffinfo "$file" 2>"$scratch/err") || fail "$name: tiffinfo failed"
  # The RGB directory lists SamplesPerPixel after StripByteCounts on purpose;
  # libtiff warns about the order and reads the file. Anything else is a fault.
  grep -v "tags are not sorted in ascending order" "$scratch/err" >"$scratch/other" || true
  [ -s "$scratch/other" ] && fail "$name: tiffinfo complains: $(cat "$scratch/other")"
  expect_contains "$name" "$info" "Image Width: $width Image Length: $height"
  expect_contains "$name" "$info" "Bits/Sample: 16"
  expect_contains "$name" "$info" "Compression Scheme: None"
  expect_contains "$name" "$info" "Photometric Interpretation: $photometric"
  if [ "$spp" = 1 ]; then
    grep -q "SamplesPerPixel" <<<"$(tiffdump "$file")" && fail "$name: a grey file lists SamplesPerPixel"
  else
    expect_contains "$name" "$info" "Samples/Pixel: $spp"
  fi
  expect_contains "$name" "$info" "Rows/Strip: $height"
  dump=$(tiffdump "$file" 2>&1) || fail "$name: tiffdump failed"
  expect_contains "$name" "$dump" "^Magic: 0x4949 <little-endian> Version: 0x2a"
  expect_contains "$name" "$dump" "^Directory 0: offset 8 \(0x8\) next 0 \(0\)"
  expect_contains "$name" "$dump" "StripOffsets \(273\) LONG \(4\) 1<$offset>"
  expect_contains "$name" "$dump" "StripByteCounts \(279\) LONG \(4\) 1<$((width * height * spp * 2))>"
  local map=gray
  [ "$spp" = 3 ] && map=rgb
  convert "$file" -depth 16 -endian LSB "$map:$scratch/$name.samples" 2>"$scratch/err" ||
    fail "$name: ImageMagick cannot read it: $(cat "$scratch/err")"
  cmp -s "$scratch/$name.samples" "$folder/$name.expected" || fail "$name: ImageMagick reads other samples"
}

# bmp name width height bits-per-pixel map
check_bmp() {
  local name=$1 width=$2 height=$3 bits=$4 map=$5
  local file=$folder/$name.bmp
  [ -f "$file" ] || { fail "$file missing"; return; }
  local count size stated palette=0 define=()
  count=$(od -An -tu2 -j28 -N2 "$file" | tr -d ' ')
  [ "$count" = "$bits" ] || fail "$name: $count bits per pixel in the file, not $bits"
  # Wine's BMP encoder leaves the palette out of the file size in the file
  # header; ImageMagick refuses such a file unless told to ignore that field.
  # Only exactly that difference is let through.
  size=$(stat -c %s "$file")
  stated=$(od -An -tu4 -j2 -N4 "$file" | tr -d ' ')
  [ "$bits" = 8 ] && palette=1024
  if [ "$stated" != "$size" ]; then
    if [ "$stated" = $((size - palette)) ] && [ "$palette" != 0 ]; then
      echo "note: $name.bmp states $stated bytes for $size (palette not counted by the encoder)"
      define=(-define bmp:ignore-filesize=true)
    else
      fail "$name: the file header states $stated bytes, the file has $size"
    fi
  fi
  local format
  format=$(identify "${define[@]}" -format '%m %w %h' "$file" 2>"$scratch/err") || fail "$name: identify failed"
  [ "$format" = "BMP3 $width $height" ] || fail "$name: identify says \"$format\", not \"BMP3 $width $height\""
  convert "${define[@]}" "$file" -depth 8 "$map:$scratch/$name.samples" 2>"$scratch/err" ||
    fail "$name: ImageMagick cannot read it: $(cat "$scratch/err")"
  cmp -s "$scratch/$name.samples" "$folder/$name.expected" || fail "$name: ImageMagick reads other pixels"
}

check_tiff grey 640 480 "min-is-black" 1 110
check_tiff rgb 640 480 "RGB color" 3 122
check_bmp colour 13 7 24 rgb
check_bmp grey8 10 5 8 gray
# The film that FileWriter exported (FileWriterTest.SamplesOfAFileAreTheProcessedFrame).
film=$folder/../film_readers
if [ -f "$film/list.txt" ]; then
  while read -r stem width height; do
    folder=$film check_tiff "$stem" "$width" "$height" "min-is-black" 1 110
  done < <(tr -d '\r' <"$film/list.txt")
else
  fail "no exported film in $film"
fi

if [ "$failures" -ne 0 ]; then
  echo "$failures reader check(s) failed"
  exit 1
fi
echo "frame files read back by tiffinfo, tiffdump and ImageMagick"
