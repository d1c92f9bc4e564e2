# Sourced by the shell tests that start the tests' own mosquitto on
# 127.0.0.1. broker_config FREE_PORTS TEMPLATE [FOLDER]: two ports the
# system chose free into $port (MQTT) and $ws_port (WebSocket), the
# configuration from TEMPLATE (its @FOLDER@, where a TLS broker's
# certificates are, FOLDER) into $out/mosquitto.conf. start_broker:
# mosquitto runs and accepts connections ($broker_pid; $broker_ready_at, the
# clock's seconds when the connection it accepted was begun); stop_broker:
# it is stopped by its id and gone ($broker_stopped_at). A restart keeps the
# ports, as a broker that comes back does.
broker_pid=""
broker_config() {
  read -r port ws_port < <("$1" 2 | xargs)
  sed -e "s/@WS_PORT@/$ws_port/" -e "s/@PORT@/$port/" -e "s|@FOLDER@|${3:-}|" "$2" >"$out/mosquitto.conf"
}
start_broker() {
  mosquitto -c "$out/mosquitto.conf" 2>>"$out/mosquitto.log" &
  broker_pid=$!
  for _ in $(seq 1 500); do
    broker_ready_at=${EPOCHREALTIME/,/.}
    (exec 3<>"/dev/tcp/127.0.0.1/$port") 2>/dev/null && return 0
    sleep 0.01
  done
  fail "mosquitto does not accept connections on $port (see $out/mosquitto.log)"
}
stop_broker() {
  [ -n "$broker_pid" ] || return 0
  kill "$broker_pid" 2>/dev/null || true
  wait "$broker_pid" 2>/dev/null || true
  broker_stopped_at=${EPOCHREALTIME/,/.}
  broker_pid=""
}
