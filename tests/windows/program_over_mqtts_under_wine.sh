#!/usr/bin/env bash
# The Windows program subscribed over TLS under Wine on an X display
# (through with_xvfb.sh):
#   program_over_mqtts_under_wine.sh WINE_RUN PROGRAM SNAPSHOT FLIGHT PROBE FEED FREE_PORTS CONF_TEMPLATE OUTPUT_DIR
# openssl makes two certificate authorities and the broker's certificate
# for 127.0.0.1, signed by the first; the tests' mosquitto (CONF_TEMPLATE,
# a TLS listener) serves it, and the Linux panel-feed publishes to it over
# TLS. Given the other CA (?cafile=), the program never takes a value and
# its status names OpenSSL's reason; given the broker's CA, it follows
# panel-feed's values as panel-snapshot renders them.
set -euo pipefail
source "$(dirname "$0")/wine_window.sh"
wine_run="$1" program="$2" snapshot="$3" flight="$4" probe="$5" feed="$6" free_ports="$7" template="$8" out="$9"
label="MQTT over TLS"
mkdir -p "$out"

source "$(dirname "$0")/mqtt_feed.sh"
two_value_sets

tls="$out/tls"
mkdir -p "$tls"
(
  cd "$tls"
  printf 'subjectAltName=IP:127.0.0.1\n' >san.ext
  for ca in ca other-ca; do
    openssl req -x509 -newkey rsa:2048 -nodes -keyout $ca.key -out $ca.crt -days 2 -subj /CN=$ca 2>/dev/null
  done
  openssl req -newkey rsa:2048 -nodes -keyout broker.key -out broker.csr -subj /CN=127.0.0.1 2>/dev/null
  openssl x509 -req -in broker.csr -CA ca.crt -CAkey ca.key -CAcreateserial -out broker.crt -days 2 \
    -extfile san.ext 2>/dev/null
  chmod 644 broker.key # a broker started as root reads it as its own user
) || fail "openssl could not make the certificates in $tls"

source "$(dirname "$0")/../test_broker.sh"
broker_config "$free_ports" "$template" "$tls"
trap 'stop_feed; kill "${pid:-}" 2>/dev/null || true; stop_broker; wait 2>/dev/null || true' EXIT
start_broker
address="mqtts://127.0.0.1:$port/cockpit"
start_feed a "$address?cafile=$tls/ca.crt"
# The program names its CA file as a Windows user does: by drive and folder
# (Wine's Z: is the Linux root).
windows_tls="Z:${tls//\//\\}"

# run_program CA: the program subscribed through CA's file; $pid, $window.
run_program() {
  "$wine_run" "$program" --renderer gl --display "$flight" --data "$address?cafile=$windows_tls\\$1.crt" \
    2>"$out/program-$1.err" &
  pid=$!
  window="$(find_window '^Пилотажная панель — Графическая библиотека' "$pid")"
}

run_program other-ca
expect_status "^0 stale, 0 of 9 inputs fed; mqtts://127\.0\.0\.1:$port/cockpit \(connecting: TLS failed: certificate verify failed\)"
# It keeps trying, and keeps failing: no value ever arrives.
sleep 2
expect_status "^0 stale, 0 of 9 inputs fed; mqtts://127\.0\.0\.1:$port/cockpit \(connecting: TLS failed: certificate verify failed\)"
close_with_alt_f4 "$window" "$pid"

run_program ca
expect_status "^0 stale, 6 of 9 inputs fed; mqtts://127\.0\.0\.1:$port/cockpit: [0-9]+ messages/s"
expect_view shot-a ref-a ref-b
start_feed b "$address?cafile=$tls/ca.crt"
expect_view shot-b ref-b ref-a
close_with_alt_f4 "$window" "$pid"

trap - EXIT
stop_feed
stop_broker
echo "program under Wine over MQTT with TLS: refuses a broker its CA did not sign, naming why; follows one it did"
