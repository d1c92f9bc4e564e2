// A mosquitto of the test's own on 127.0.0.1, as tests/test_broker.h starts
// one: its configuration from tests/mqtt/mosquitto.conf.in with an MQTT and
// a WebSocket port the system chose free, a child process stopped by its
// process id. A restart keeps the ports, as a broker that comes back does.
import { spawn } from 'node:child_process';
import { openSync, readFileSync, writeFileSync } from 'node:fs';
import { createConnection, createServer } from 'node:net';
import { join } from 'node:path';

// Ports the system gave servers bound to port 0, all held until each is read.
async function freePorts(count) {
  const servers = [];
  for (let i = 0; i < count; ++i) {
    const server = createServer();
    await new Promise((done) => server.listen(0, '127.0.0.1', done));
    servers.push(server);
  }
  const ports = servers.map((server) => server.address().port);
  await Promise.all(servers.map((server) => new Promise((done) => server.close(done))));
  return ports;
}

function accepts(port) {
  return new Promise((done) => {
    const socket = createConnection({ host: '127.0.0.1', port }, () => { socket.destroy(); done(true); });
    socket.on('error', () => done(false));
  });
}

export class TestBroker {
  constructor(template, folder) {
    this.template = template;
    this.folder = folder;
    this.child = null;
  }

  // The two ports, chosen once: a page may be told them before the broker runs.
  async choosePorts() {
    if (!this.port) [this.port, this.webSocketPort] = await freePorts(2);
  }

  // Resolves to the time (Date.now()) both listeners accepted connections.
  async start() {
    await this.choosePorts();
    const config = readFileSync(this.template, 'utf8').replaceAll('@WS_PORT@', String(this.webSocketPort))
      .replaceAll('@PORT@', String(this.port)).replaceAll('@FOLDER@', this.folder);
    const configPath = join(this.folder, 'mosquitto.conf');
    writeFileSync(configPath, config);
    const log = openSync(join(this.folder, 'mosquitto.log'), 'a');
    this.child = spawn('mosquitto', ['-c', configPath], { stdio: ['ignore', log, log] });
    // Polled often: the time it returns is when a client could first connect.
    for (let i = 0; i < 500; ++i) {
      if (await accepts(this.port) && await accepts(this.webSocketPort)) return Date.now();
      await new Promise((done) => setTimeout(done, 10));
    }
    throw new Error(`mosquitto does not accept connections on ${this.port} (see ${this.folder}/mosquitto.log)`);
  }

  // Resolves to the time (Date.now()) the broker had exited.
  async stop() {
    if (!this.child) return Date.now();
    const child = this.child;
    this.child = null;
    if (child.exitCode !== null || child.signalCode !== null) return Date.now();
    const ended = new Promise((done) => child.once('exit', done));
    process.kill(child.pid, 'SIGTERM');
    await ended;
    return Date.now();
  }
}
