# What the Windows program's running frame shows, for its tests under Wine
# (sourced, not run). Needs wine_run, probe (frame_probe.exe), out (the
# output folder), width and height (the display's size in panel-snapshot's
# frames) and label (what the failures name).

status_text() { "$wine_run" "$probe" | sed -n 's/^status: //p' | tr -d '\r'; }

# Waits up to ten seconds for the status pane to match the regular
# expression; fails naming what it showed.
expect_status() {
  local want="$1" text=""
  for _ in $(seq 1 50); do
    text="$(status_text)"
    grep -qE -- "$want" <<<"$text" && return 0
    sleep 0.2
  done
  fail "$label: the status pane shows \"$text\", not /$want/"
}

# The display's area of the view, as panel-snapshot frames it: the view's
# lower left corner, the display's origin.
capture() {
  local x y w h
  read -r x y w h < <("$wine_run" "$probe" | sed -n 's/^view: //p' | tr -d '\r')
  [ "$w" -ge "$width" ] && [ "$h" -ge "$height" ] || fail "the view of ${w}x$h cannot hold the ${width}x$height display"
  import -window root -crop "${width}x${height}+$x+$((y + h - height))" +repage "$out/$1.png"
}

# Pixels of two frames that differ by more than antialiasing does, outside
# the middle of the compass, whose deviation bar moves with the frame count
# whatever is fed.
COMPASS="rectangle 180,502 340,662"
differing() {
  local masked=()
  for image in "$1" "$2"; do
    convert "$out/$image.png" -fill black -draw "$COMPASS" "$out/masked-$image.png"
    masked+=("$out/masked-$image.png")
  done
  compare -metric AE -fuzz 9% "${masked[@]}" null: 2>&1 || true
}

# The view like the reference LIKE within the goldens' tolerance (0.1 % of
# its pixels off by more than 24 levels), and unlike UNLIKE by far more.
# The flow trend takes 70 frames to hold only the fed value, however long
# Wine takes for them: the view is looked at until it agrees, for at most
# twenty seconds.
expect_view() {
  local shot="$1" like="$2" unlike="$3" same="" different
  for _ in $(seq 1 40); do
    capture "$shot"
    same="$(differing "$shot" "$like")"
    [ "$same" -le $((width * height / 1000)) ] && break
    sleep 0.5
  done
  [ "$same" -le $((width * height / 1000)) ] || fail "$label: $shot differs from $like in $same pixels"
  different="$(differing "$shot" "$unlike")"
  [ "$different" -ge $((width * height / 100)) ] ||
    fail "$label: $shot is like $unlike (only $different pixels differ): the display does not follow the values"
}

# watch_status NAME REGEX SECONDS: frame_probe watches the status pane in the
# background (into $out/NAME.watch) and this returns once it reads it, so
# that what follows is timed without Wine's start. status_matched NAME:
# $matched_at, the clock's seconds when the pane first matched, and
# $longest_frame, the longest between two of the probe's readings (the
# program answers between frames); fails after SECONDS.
watch_status() {
  "$wine_run" "$probe" --until "$2" "$3" >"$out/$1.watch" 2>&1 &
  watch_pid=$!
  for _ in $(seq 1 200); do
    grep -q '^watching' "$out/$1.watch" && return 0
    kill -0 "$watch_pid" 2>/dev/null || fail "$label: frame_probe could not watch the status: $(cat "$out/$1.watch")"
    sleep 0.05
  done
  fail "$label: frame_probe did not start watching the status"
}
status_matched() {
  wait "$watch_pid" || fail "$label: the status pane never matched: $(tr -d '\r' <"$out/$1.watch")"
  read -r matched_at longest_frame < <(tr -d '\r' <"$out/$1.watch" | sed -n 's/^matched: \([0-9.]*\) \([0-9.]*\) .*/\1 \2/p')
}

# within LIMIT FROM TO WHAT: fails unless TO is at most LIMIT seconds after
# FROM (clock seconds); says how long it took either way.
within() {
  local took
  took=$(LC_ALL=C awk -v from="$2" -v to="$3" 'BEGIN { printf "%.3f", to - from }')
  echo "$label: $4 in $took s (at most $1 s)"
  LC_ALL=C awk -v took="$took" -v limit="$1" 'BEGIN { exit !(took <= limit) }' || fail "$label: $4 took $took s, over $1 s"
}
