// SPDX-FileCopyrightText: 2026 Орсета developers <orseta@orseta.example>
//
// SPDX-License-Identifier: GPL-3.0-or-later

// WebKitGTK (the engine of Safari) for steps.mjs: Debian's MiniBrowser driven
// by its WebKitWebDriver, in plain WebDriver over HTTP, with real mouse and
// key events. It needs an X server and a session bus (tests/session.sh
// --x11). WebDriver has no touch input here and no high-contrast theme, and
// hands over neither the console nor the requests: there the CSP checks rest
// on the policy's reports and on what the server answered.

import { spawn } from 'node:child_process';
import { accessSync, constants, mkdirSync, openSync, closeSync, writeFileSync } from 'node:fs';
import http from 'node:http';
import net from 'node:net';
import path from 'node:path';
import { fileURLToPath, pathToFileURL } from 'node:url';
import { NO_FORCED_COLOURS, Skip } from './steps.mjs';
import { framePage, VIEWPORT_PAGE } from './serve.mjs';

const DRIVER = { executable: '/usr/bin/WebKitWebDriver', debian: 'webkit2gtk-driver' };
const BROWSER = { executable: '/usr/lib/x86_64-linux-gnu/webkit2gtk-4.1/MiniBrowser', debian: 'libwebkit2gtk-4.1-0' };
// MiniBrowser's window is never narrower than its toolbar.
const NARROWEST = 447;
const KEYS = {
    Tab: '\uE004', Space: '\uE00D', Enter: '\uE006', NumpadEnter: '\uE007',
    ArrowLeft: '\uE012', ArrowUp: '\uE013', ArrowRight: '\uE014', ArrowDown: '\uE015',
    Shift: '\uE008', Control: '\uE009', Alt: '\uE00A',
};

const sleep = (ms) => new Promise((r) => setTimeout(r, ms));
const sameSize = (a, b) => a?.[0] === b?.[0] && a?.[1] === b?.[1];

// One WebDriver command: its value, or an error with WebDriver's own words.
function command(port, method, route, body) {
    const data = method === 'POST' ? JSON.stringify(body ?? {}) : undefined;
    return new Promise((resolve, reject) => {
        const request = http.request({
            host: '127.0.0.1', port, method, path: route, agent: false,
            headers: data ? { 'Content-Type': 'application/json; charset=utf-8', 'Content-Length': Buffer.byteLength(data) } : {},
        }, (response) => {
            let text = '';
            response.setEncoding('utf8');
            response.on('data', (chunk) => { text += chunk; });
            response.on('end', () => {
                let value;
                try {
                    ({ value } = JSON.parse(text));
                } catch {
                    return reject(new Error(`WebDriver answered ${response.statusCode}: ${text.slice(0, 200)}`));
                }
                if (response.statusCode >= 400 || value?.error)
                    return reject(new Error(`${value?.error ?? response.statusCode}: ${value?.message ?? text.slice(0, 200)}`));
                resolve(value);
            });
        });
        request.on('error', reject);
        // Longer than the session's own timeouts, which say more.
        request.setTimeout(60000, () => request.destroy(new Error(`WebDriver did not answer ${method} ${route}`)));
        request.end(data);
    });
}

const freePort = () => new Promise((resolve, reject) => {
    const probe = net.createServer();
    probe.on('error', reject);
    probe.listen(0, '127.0.0.1', () => {
        const { port } = probe.address();
        probe.close(() => resolve(port));
    });
});

// WebKitWebDriver on a port of its own, with one MiniBrowser in a session.
class Browser {
    static async start(scratch, javascript) {
        const log = openSync(path.join(scratch, 'webdriver.log'), 'a');
        let lastError;
        // A port free a moment ago may be taken by another test meanwhile.
        for (let attempt = 0; attempt < 3; ++attempt) {
            const port = await freePort();
            const driver = spawn(DRIVER.executable, [`--port=${port}`], { stdio: ['ignore', log, log] });
            let ended = false;
            driver.on('exit', () => { ended = true; });
            driver.on('error', () => { ended = true; });
            const browser = new Browser(driver, port);
            try {
                for (let deadline = Date.now() + 10000; ;) {
                    if (ended) throw new Error(`${DRIVER.executable} ended at the start (port ${port})`);
                    if ((await command(port, 'GET', '/status').catch(() => null))?.ready) break;
                    if (Date.now() > deadline) throw new Error(`${DRIVER.executable} not ready after 10 s`);
                    await sleep(50);
                }
                await browser.open(javascript);
                closeSync(log);
                return browser;
            } catch (error) {
                lastError = error;
                await browser.quit();
            }
        }
        closeSync(log);
        throw lastError;
    }

    constructor(driver, port) {
        this.driver = driver;
        this.port = port;
        this.session = null;
        this.viewport = null;
        this.framed = false;
    }

    async open(javascript) {
        const { sessionId, capabilities } = await command(this.port, 'POST', '/session', {
            capabilities: {
                alwaysMatch: {
                    browserName: 'MiniBrowser',
                    'webkitgtk:browserOptions': {
                        binary: BROWSER.executable,
                        args: ['--automation', ...(javascript ? [] : ['--enable-javascript=false'])],
                    },
                },
            },
        });
        this.session = sessionId;
        this.version = capabilities.browserVersion;
        await this.send('POST', '/timeouts', { script: 30000, pageLoad: 30000 });
        // The browser's own bars take some of its window's height.
        await this.send('POST', '/window/rect', { width: 1024, height: 768 });
        const [width, height] = await this.run('[innerWidth, innerHeight]');
        this.chrome = [1024 - width, 768 - height];
    }

    send(method, route, body) {
        return command(this.port, method, `/session/${this.session}${route}`, body);
    }

    run(expression) {
        return this.send('POST', '/execute/sync', { script: `return (${expression});`, args: [] });
    }

    async quit() {
        if (this.session) await this.send('DELETE', '').catch(() => {});
        this.session = null;
        if (this.driver.exitCode === null && this.driver.signalCode === null) {
            const ended = new Promise((resolve) => this.driver.once('exit', resolve));
            this.driver.kill();
            await Promise.race([ended, sleep(5000)]);
        }
    }
}

// WebKitGTK, with what it keeps (caches, data) in SCRATCH. Throws Skip when
// something it needs is missing.
export async function openWebKit(scratch) {
    for (const { executable, debian } of [DRIVER, BROWSER]) {
        try {
            accessSync(executable, constants.X_OK);
        } catch {
            throw new Skip(`${executable} is not installed (Debian: ${debian})`);
        }
    }
    if (!process.env.DISPLAY) throw new Skip('no X display: run it under tests/session.sh --x11');
    // WebKit's caches and data, if any, stay in the scratch folder and go
    // with it.
    for (const name of ['XDG_CACHE_HOME', 'XDG_DATA_HOME', 'XDG_CONFIG_HOME']) {
        process.env[name] = path.join(scratch, name.toLowerCase());
        mkdirSync(process.env[name], { recursive: true });
    }
    process.env.MESA_SHADER_CACHE_DISABLE = 'true';

    // One browser for the rows with scripting, one for those without.
    const browsers = new Map();
    const browserFor = async (javascript) => {
        if (!browsers.has(javascript)) browsers.set(javascript, await Browser.start(scratch, javascript));
        return browsers.get(javascript);
    };
    const version = (await browserFor(true)).version;

    return {
        version: `WebKitGTK ${version}`,
        cannot(step) {
            if ('tap' in step) return 'WebKitWebDriver has no touch input (a touch action there does nothing)';
            if ('forcedColors' in step) return NO_FORCED_COLOURS;
            return null;
        },
        async tab(row) {
            if (row.isolate && browsers.has(row.javascript)) {
                // A row that must not meet what earlier rows left behind
                // (service workers, caches) gets a browser of its own.
                await browsers.get(row.javascript).quit();
                browsers.delete(row.javascript);
            }
            return new Tab(await browserFor(row.javascript));
        },
        close: () => Promise.allSettled([...browsers.values()].map((b) => b.quit())),
    };
}

class Tab {
    constructor(browser) {
        this.browser = browser;
        this.loaded = false;
        this.watchesViolations = false;
        this.seen = null;
    }

    async setViewport([width, height]) {
        const b = this.browser;
        const was = b.framed;
        const size = [width, height];
        if (!sameSize(b.viewport, size)) {
            b.framed = false;
            await b.send('POST', '/frame', { id: null });
            await b.send('POST', '/window/rect', { width: width + b.chrome[0], height: height + b.chrome[1] });
            // Without a window manager the X server takes a moment to resize it.
            let inner;
            for (const deadline = Date.now() + 3000; ;) {
                inner = await b.run('[innerWidth, innerHeight]');
                if (sameSize(inner, size) || Date.now() > deadline) break;
                await sleep(100);
            }
            // A viewport narrower than MiniBrowser can be is a frame of that
            // size in a page of its own, as a course page would show it.
            if (!sameSize(inner, size)) {
                b.framed = true;
                await b.send('POST', '/window/rect', {
                    width: Math.max(width, 600) + b.chrome[0], height: height + 40 + b.chrome[1],
                });
            }
            b.viewport = size;
        }
        if (this.loaded && was !== b.framed)
            throw new Skip(`a resize across the ${NARROWEST} px MiniBrowser cannot go below would reload the page in a frame`);
    }

    // The frame's page sits beside the page it frames, so both share an
    // origin (served by the test's server, or both on disk).
    address(base, suffix) {
        if (!this.browser.framed) return base + suffix;
        const [w, h] = this.browser.viewport;
        if (base.startsWith('file:')) {
            const wrapper = path.join(path.dirname(fileURLToPath(base)), 'frame.html');
            writeFileSync(wrapper, framePage(w, h, path.basename(fileURLToPath(base)) + suffix));
            return pathToFileURL(wrapper).href;
        }
        return `${new URL(base).origin}${VIEWPORT_PAGE}?w=${w}&h=${h}&src=${encodeURIComponent('/' + suffix)}`;
    }

    async goto(url) {
        await this.browser.send('POST', '/frame', { id: null });
        await this.browser.send('POST', '/url', { url });
        return null;
    }

    async enter() {
        this.loaded = true;
        if (!this.browser.framed) return;
        await this.browser.send('POST', '/frame', { id: null });
        const frame = await this.browser.send('POST', '/element', { using: 'css selector', value: 'iframe' });
        await this.browser.send('POST', '/frame', { id: frame });
    }

    reload() {
        return this.browser.send('POST', '/refresh');
    }

    evaluate(fn, scripting) {
        // No promise settles in a page without scripting.
        if (!scripting) return this.browser.send('POST', '/execute/sync', { script: `return ${fn}();`, args: [] });
        return this.browser.send('POST', '/execute/async', {
            script: 'const done = arguments[arguments.length - 1];\n' +
                `${fn}().then(done, (e) => done(JSON.stringify([{ error: String(e) }])));`,
            args: [],
        });
    }

    run(expression) {
        return this.browser.run(expression);
    }

    inject(script) {
        return this.browser.send('POST', '/execute/sync', { script, args: [] });
    }

    // From the element's centre, which WebDriver finds in whatever frame
    // the page is in.
    async click({ selector, dx, dy }) {
        const element = await this.browser.send('POST', '/element', { using: 'css selector', value: selector });
        await this.actions([{
            type: 'pointer', id: 'mouse', parameters: { pointerType: 'mouse' }, actions: [
                { type: 'pointerMove', duration: 0, origin: element, x: Math.round(dx), y: Math.round(dy) },
                { type: 'pointerDown', button: 0 },
                { type: 'pointerUp', button: 0 },
            ],
        }]);
    }

    press(modifiers, key) {
        const code = (name) => {
            if (!(name in KEYS)) throw new Error(`no WebDriver code for the key ${name}`);
            return KEYS[name];
        };
        return this.actions([{
            type: 'key', id: 'keyboard', actions: [
                ...modifiers.map((m) => ({ type: 'keyDown', value: code(m) })),
                { type: 'keyDown', value: code(key) },
                { type: 'keyUp', value: code(key) },
                ...[...modifiers].reverse().map((m) => ({ type: 'keyUp', value: code(m) })),
            ],
        }]);
    }

    actions(sources) {
        return this.browser.send('POST', '/actions', { actions: sources });
    }

    async cookies() {
        return (await this.browser.send('GET', '/cookie')).map((c) => c.name);
    }

    url() {
        return this.browser.send('GET', '/url');
    }

    // The next row starts from a blank page at the top.
    async close() {
        await this.goto('about:blank').catch(() => {});
    }
}
