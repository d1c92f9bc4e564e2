# Shared by the Windows program's MQTT tests under Wine (sourced, not run):
# the values the Linux panel-feed publishes and the frames they make. Needs
# wine_run, snapshot, flight, feed and out. recording NAME INPUT VALUE ...:
# a recording of those values in $out/NAME.csv. reference NAME DATA: what
# panel-snapshot renders for the source DATA, in $out/NAME.png.
# start_feed NAME URL: panel-feed publishes NAME's recording to URL in a
# loop (after stopping the one before); stop_feed. two_value_sets: the
# recordings a and b of values_a and values_b, their looped references
# ref-a and ref-b, the display's width and height, and wine_frames.sh.
source "$(dirname "${BASH_SOURCE[0]}")/feed_process.sh"
values_a=(pitch 6 roll 20 heading 90 altitude 3400 fuel 80 fuel_flow 30)
values_b=(pitch -8 roll -25 heading 250 altitude 5200 fuel 45 fuel_flow 75)
recording() {
  local name="$1"; shift
  { echo "time,input,value"; while [ $# -gt 0 ]; do echo "0.000,$1,$2"; shift 2; done; } >"$out/$name.csv"
}
reference() {
  "$wine_run" "$snapshot" --display "$flight" --frames 100 --data "$2" -o "$out/$1.png" ||
    fail "panel-snapshot did not render $1"
}
start_feed() {
  run_feed "$feed" --to "$2" --loop --seconds 600 "$out/$1.csv" >>"$out/panel-feed.log" 2>&1
}
two_value_sets() {
  recording a "${values_a[@]}"
  recording b "${values_b[@]}"
  reference ref-a "replay:$out/a.csv:loop"
  reference ref-b "replay:$out/b.csv:loop"
  local size
  size="$(identify -format '%wx%h' "$out/ref-a.png")"
  width="${size%x*}" height="${size#*x}"
  source "$(dirname "${BASH_SOURCE[0]}")/wine_frames.sh"
}
