// The page's MQTT connection for data=mqtt://...: the npm package mqtt
// (mqtt.min.js) over the broker's WebSocket listener. The module parses the
// address, decodes every message and publishes the outputs
// (app/web/page_mqtt.*); this side only connects, subscribes, hands each
// message's topic and payload bytes over as they arrive, and shows the data
// state the module reports. The client reconnects by itself, waiting longer
// after each failed attempt, and the frames never wait for it.
'use strict';

var panelMqtt = {
  client: null,
  // The reconnection's wait: from 250 ms, doubled after each failure, at
  // most 1 s, as the native hosts wait (data/mqtt_client.cpp): a cockpit's
  // broker is near. A lost broker is noticed within 1.5 keep-alives.
  firstWaitMs: 250,
  longestWaitMs: 1000,
  keepaliveS: 5,
  notices: [],
  // When (performance.now()) a frame last applied a value from the broker:
  // read by whoever measures how fresh the page's data is.
  valuesAppliedMs: null,

  // Copies bytes into the module's memory for a call; frees them after it.
  withBytes(bytes, use) {
    const pointer = Module._malloc(bytes.length || 1);
    try {
      Module.HEAPU8.set(bytes, pointer);
      return use(pointer, bytes.length);
    } finally {
      Module._free(pointer);
    }
  },
  withText(text, use) { return this.withBytes(new TextEncoder().encode(text), use); },

  // state: 0 connecting, 1 connected, 2 lost (PageMqttState).
  reportState(state, cause) {
    this.withText(cause || '', (pointer, length) => Module._webMqttState(state, pointer, length));
  },

  connect(url, user, password, prefix) {
    const options = { reconnectPeriod: this.firstWaitMs, connectTimeout: 10000, keepalive: this.keepaliveS, clean: true, resubscribe: true };
    if (user) options.username = user;
    if (password !== null) options.password = password;
    let wait = this.firstWaitMs;
    let connectedOnce = false;
    const client = mqtt.connect(url, options);
    this.client = client;
    this.reportState(0, '');
    client.on('connect', () => {
      wait = this.firstWaitMs;
      connectedOnce = true;
      client.options.reconnectPeriod = wait;
      client.subscribe([prefix, prefix + '/+'], { qos: 0 }, (error) => {
        if (error) this.reportState(2, 'subscribing to ' + prefix + ' failed: ' + error.message);
      });
      this.reportState(1, '');
    });
    client.on('reconnect', () => {
      wait = Math.min(wait * 2, this.longestWaitMs);
      client.options.reconnectPeriod = wait;
    });
    client.on('close', () => this.reportState(connectedOnce ? 2 : 0, ''));
    client.on('error', (error) => this.reportState(2, String(error.message || error)));
    client.on('message', (topic, payload) => {
      this.withText(topic, (topicPointer, topicLength) =>
        this.withBytes(payload, (payloadPointer, payloadLength) =>
          Module._webMqttMessage(topicPointer, topicLength, payloadPointer, payloadLength)));
    });
  },

  // True when the message went to a connected client: while the broker is
  // away an output is not queued to arrive late.
  publish(topic, payload) {
    if (!this.client || !this.client.connected) return false;
    this.client.publish(topic, payload, { qos: 0, retain: false });
    return true;
  },

  // The mapping file, relative to the page's address, into the module.
  fetchMapping(path) {
    const done = (text, failed) =>
      this.withText(text, (pointer, length) => Module._webMappingFetched(pointer, length, failed ? 1 : 0));
    fetch(path).then((response) => {
      if (!response.ok) return done('the page\'s server answers ' + response.status + ' ' + response.statusText, true);
      return response.text().then((text) => done(text, false));
    }).catch((error) => done('cannot be fetched: ' + String(error.message || error), true));
  },

  // The feed's state: inputs stale and fed, messages, the connection.
  showStatus(text) {
    document.getElementById('data').textContent = text;
  },
  // What the sources reported once (unknown topics, the broker's refusals).
  notice(text) {
    this.notices.push(text);
    console.warn(text);
    document.getElementById('data').title = this.notices.slice(-10).join('\n');
  },
};
