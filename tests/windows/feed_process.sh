# The panel-feed a Windows program's test under Wine runs beside it (sourced,
# not run). run_feed COMMAND...: stops the feed before and starts COMMAND
# in the background as the feed (redirect the call to redirect its output);
# stop_feed ends it, if any.
feed_pid=""
stop_feed() {
  [ -n "$feed_pid" ] || return 0
  kill "$feed_pid" 2>/dev/null || true
  wait "$feed_pid" 2>/dev/null || true
  feed_pid=""
}
run_feed() {
  stop_feed
  "$@" &
  feed_pid=$!
}
