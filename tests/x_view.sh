# Sourced by the shell tests that look at the program's view on an X display.
# capture_view NAME WIDTH HEIGHT OUT: the lower left WIDTH x HEIGHT of the largest
# X window inside the program's frame (its view), as OUT/NAME.png; 1 while
# there is no such view yet.
capture_view() {
  local name="$1" width="$2" height="$3" out="$4" frame_id view_line x y w h
  frame_id="$(xwininfo -root -children 2>/dev/null | grep -m1 'Lorvane2.X' | awk '{ print $1 }')"
  [ -n "$frame_id" ] || return 1
  view_line="$(xwininfo -id "$frame_id" -children 2>/dev/null | awk '$1 ~ /^0x/ {
    split($(NF-1), g, /[x+]/); if (g[1] * g[2] > best) { best = g[1] * g[2]; line = $0 } } END { print line }')"
  [ -n "$view_line" ] || return 1
  read -r w h < <(awk '{ split($(NF-1), g, /[x+]/); print g[1], g[2] }' <<<"$view_line")
  read -r x y < <(awk '{ split($NF, p, /\+/); print p[2], p[3] }' <<<"$view_line")
  [ "$w" -ge "$width" ] && [ "$h" -ge "$height" ] || return 1
  import -window root -crop "${width}x${height}+$x+$((y + h - height))" +repage "$out/$name.png"
}

# differing_pixels A.png B.png: pixels off by more than antialiasing, outside
# the flight display's compass deviation bar, which moves with the frame
# count whatever is fed.
differing_pixels() {
  local masked=() image
  for image in "$1" "$2"; do
    convert "$image" -fill black -draw "rectangle 180,502 340,662" "${image%.png}.masked.png"
    masked+=("${image%.png}.masked.png")
  done
  compare -metric AE -fuzz 9% "${masked[@]}" null: 2>&1 || true
}
