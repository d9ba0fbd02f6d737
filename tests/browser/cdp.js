// A small driver for Chromium over its DevTools pipe: the browser started with
// --remote-debugging-pipe reads commands on descriptor 3 and answers on descriptor 4, each
// message JSON ended by a NUL byte. No package is needed beyond Node itself.
'use strict';

const { spawn } = require('node:child_process');
const fs = require('node:fs');
const os = require('node:os');
const path = require('node:path');

class Browser {
  // Starts the browser headless with a new, empty profile.
  constructor(executable) {
    this.profile = fs.mkdtempSync(path.join(os.tmpdir(), 'vexor-chromium-'));
    const flags = ['--headless', '--no-sandbox', '--disable-gpu', '--disable-background-networking',
                   '--disable-component-update', '--disable-sync', '--no-first-run',
                   '--disable-dev-shm-usage', '--remote-debugging-pipe',
                   '--user-data-dir=' + this.profile, 'about:blank'];
    this.process = spawn(executable, flags, { stdio: ['ignore', 'ignore', 'pipe', 'pipe', 'pipe'] });
    this.stderr = '';
    this.process.stderr.on('data', (chunk) => { this.stderr += chunk; });
    this.nextId = 0;
    this.pending = new Map();
    this.listeners = [];
    let buffer = Buffer.alloc(0);
    this.process.stdio[4].on('data', (chunk) => {
      buffer = Buffer.concat([buffer, chunk]);
      let end;
      while ((end = buffer.indexOf(0)) !== -1) {
        const message = JSON.parse(buffer.subarray(0, end).toString('utf8'));
        buffer = buffer.subarray(end + 1);
        this.dispatch(message);
      }
    });
    this.exited = new Promise((resolve) => this.process.on('exit', resolve));
  }

  dispatch(message) {
    if (message.id !== undefined) {
      const call = this.pending.get(message.id);
      this.pending.delete(message.id);
      if (message.error) call.reject(new Error(call.method + ': ' + message.error.message));
      else call.resolve(message.result);
      return;
    }
    for (const listener of this.listeners.slice()) listener(message);
  }

  send(method, params = {}, sessionId = undefined) {
    const id = ++this.nextId;
    const message = { id, method, params };
    if (sessionId) message.sessionId = sessionId;
    this.process.stdio[3].write(JSON.stringify(message) + '\0');
    return new Promise((resolve, reject) => this.pending.set(id, { resolve, reject, method }));
  }

  // The next event of that name (of that session), within the time limit.
  waitFor(method, sessionId, milliseconds = 15000) {
    return new Promise((resolve, reject) => {
      const timer = setTimeout(() => {
        this.listeners = this.listeners.filter((l) => l !== listener);
        reject(new Error('no ' + method + ' within ' + milliseconds + ' ms'));
      }, milliseconds);
      const listener = (message) => {
        if (message.method !== method || message.sessionId !== sessionId) return;
        clearTimeout(timer);
        this.listeners = this.listeners.filter((l) => l !== listener);
        resolve(message.params);
      };
      this.listeners.push(listener);
    });
  }

  async newPage() {
    const { targetId } = await this.send('Target.createTarget', { url: 'about:blank' });
    const { sessionId } = await this.send('Target.attachToTarget', { targetId, flatten: true });
    const page = new Page(this, sessionId);
    await page.send('Page.enable');
    await page.send('Runtime.enable');
    this.listeners.push((message) => {
      if (message.sessionId === sessionId && message.method === 'Runtime.exceptionThrown') {
        page.errors.push(message.params.exceptionDetails.text + ' ' +
                         JSON.stringify(message.params.exceptionDetails.exception || {}));
      }
    });
    return page;
  }

  async close() {
    try {
      await Promise.race([this.send('Browser.close'), new Promise((r) => setTimeout(r, 3000))]);
    } catch (error) { /* the browser is going anyway */ }
    await Promise.race([this.exited, new Promise((r) => setTimeout(r, 3000))]);
    if (this.process.exitCode === null) this.process.kill('SIGKILL');
    fs.rmSync(this.profile, { recursive: true, force: true });
  }
}

class Page {
  constructor(browser, sessionId) {
    this.browser = browser;
    this.sessionId = sessionId;
    this.errors = [];
  }

  send(method, params = {}) { return this.browser.send(method, params, this.sessionId); }

  async open(url) {
    const loaded = this.browser.waitFor('Page.loadEventFired', this.sessionId);
    await this.send('Page.navigate', { url });
    await loaded;
  }

  // The value of a JavaScript expression in the page (awaited when it is a promise).
  async evaluate(expression) {
    const result = await this.send('Runtime.evaluate',
                                   { expression, returnByValue: true, awaitPromise: true });
    if (result.exceptionDetails) {
      throw new Error('in the page: ' + JSON.stringify(result.exceptionDetails));
    }
    return result.result.value;
  }

  // A key pressed and released on the focused element ("Enter", "Tab", " ").
  async press(key) {
    const codes = { Enter: 13, Tab: 9, ' ': 32 };
    const base = { key, code: key === ' ' ? 'Space' : key, windowsVirtualKeyCode: codes[key] };
    const text = key === 'Enter' ? '\r' : key === ' ' ? ' ' : undefined;
    await this.send('Input.dispatchKeyEvent', { type: 'keyDown', ...base, text });
    await this.send('Input.dispatchKeyEvent', { type: 'keyUp', ...base });
  }

  async type(text) { await this.send('Input.insertText', { text }); }

  async viewport(width, height, dark) {
    await this.send('Emulation.setDeviceMetricsOverride',
                    { width, height, deviceScaleFactor: 1, mobile: width < 600 });
    await this.send('Emulation.setEmulatedMedia',
                    { features: [{ name: 'prefers-color-scheme', value: dark ? 'dark' : 'light' }] });
  }

  async screenshot(file) {
    const { data } = await this.send('Page.captureScreenshot', { format: 'png' });
    fs.writeFileSync(file, Buffer.from(data, 'base64'));
  }
}

module.exports = { Browser };
