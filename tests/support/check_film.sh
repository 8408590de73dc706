# Sourced by the film checks: check_film AVI TXT FRAME_PREFIX reads AVI with
# ffprobe (frame count, size, 25 frames per second, as TXT's line "frames
# width height index" says) and decodes frame index with ffmpeg, which must
# equal the processor's rendering in FRAME_PREFIX<index>.bgr.
check_film() {
  local avi=$1 txt=$2 prefix=$3 frames width height index info
  read -r frames width height index < <(tr -d '\r' <"$txt")
  info=$(ffprobe -v error -count_frames -select_streams v:0 \
    -show_entries stream=width,height,r_frame_rate,nb_read_frames -of csv=p=0 "$avi")
  if [ "$info" != "$width,$height,25/1,$frames" ]; then
    echo "$avi: expected $width,$height,25/1,$frames, ffprobe read $info" >&2
    exit 1
  fi
  ffmpeg -v error -i "$avi" -vf "select=eq(n\,$index)" -frames:v 1 -f rawvideo -pix_fmt bgr24 \
    "$avi.decoded.bgr" -y
  if ! cmp -s "$avi.decoded.bgr" "$prefix$index.bgr"; then
    echo "$avi: frame $index differs from the processor's rendering" >&2
    exit 1
  fi
  echo "$(basename "$avi"): $info; frame $index decodes to the processor's pixels"
}
