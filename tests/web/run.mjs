// SPDX-FileCopyrightText: 2026 Орсета developers <orseta@orseta.example>
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Plays the rows of one check of cases.json in Chromium or Firefox, through
// puppeteer-core, with real mouse, touch and key events:
//   node run.mjs --browser chromium|firefox --site SITE_DIR --file ORSETA_HTML
//                [--source SOURCE_DIR] [--row SUBSTRING] CHECK
// Each row gets a server of its own on an address of its own; everything
// this starts (servers, browsers, their profiles) is taken down however it
// ends. Exit 0 when every row that ran passed, 1 when one failed, 77 when
// nothing could run here (a skipped row alone says "SKIP:" and why).

import { copyFileSync, existsSync, mkdtempSync, readFileSync, rmSync } from 'node:fs';
import { tmpdir } from 'node:os';
import path from 'node:path';
import { fileURLToPath, pathToFileURL } from 'node:url';
import { isDeepStrictEqual } from 'node:util';
import { expand } from './expand.mjs';
import { startServer } from './serve.mjs';

const here = path.dirname(fileURLToPath(import.meta.url));
const BROWSERS = {
    chromium: { executable: '/usr/bin/chromium', debian: 'chromium' },
    firefox: { executable: '/usr/bin/firefox-esr', debian: 'firefox-esr' },
};
const AXE_TAGS = ['wcag2a', 'wcag2aa', 'wcag21a', 'wcag21aa', 'wcag22aa'];
const READY_TIMEOUT = 15000;

function parseArguments(argv) {
    const options = { source: path.resolve(here, '../..') };
    for (let i = 0; i < argv.length; ++i) {
        const arg = argv[i];
        if (arg.startsWith('--')) options[arg.slice(2)] = argv[++i];
        else options.check = arg;
    }
    for (const needed of ['browser', 'site', 'file', 'check'])
        if (!options[needed]) throw new Error(`--${needed} is missing`);
    if (!BROWSERS[options.browser]) throw new Error(`unknown browser ${options.browser}`);
    return options;
}

// Fails the row with what was seen.
class Failure extends Error {}
class Skip extends Error {}

// Key names as each protocol spells them: Firefox's WebDriver BiDi knows no
// "Space", and takes WebDriver's own codes for Enter on the main keys and on
// the keypad.
function keyName(browser, name) {
    if (name === 'Space') return ' ';
    if (browser === 'firefox' && name === 'Enter') return '\uE006';
    if (browser === 'firefox' && name === 'NumpadEnter') return '\uE007';
    return name;
}

const pageJs = readFileSync(path.join(here, 'page.js'), 'utf8');
// Each expression runs after page.js, in a function of its own: whatever it
// returns (a promise too) is the value compared.
// With scripting off in the page no promise ever settles, so there the
// expressions are read as they are.
const inPage = (expressions, scripting = true) =>
    `(${scripting ? 'async ' : ''}() => { ${pageJs}\nconst results = [];\n` +
    expressions.map((e) => `try { results.push({ value: ${scripting ? 'await ' : ''}(${e}) }); } catch (error) { results.push({ error: String(error) }); }`).join('\n') +
    '\nreturn JSON.stringify(results); })()';

async function main() {
    const options = parseArguments(process.argv.slice(2));
    const browserInfo = BROWSERS[options.browser];
    if (!existsSync(browserInfo.executable)) {
        console.log(`SKIP: ${browserInfo.executable} is not installed (Debian: ${browserInfo.debian})`);
        return 77;
    }
    let puppeteer;
    try {
        puppeteer = (await import('puppeteer-core')).default;
    } catch {
        console.log(`FAIL: puppeteer-core is not installed: run "npm ci" in ${here}`);
        return 1;
    }
    const rows = expand(options.check, options.source).filter((r) => !options.row || r.name.includes(options.row));
    const site = path.resolve(options.site);
    if (!existsSync(path.join(site, 'index.html'))) throw new Error(`${site}/index.html is missing: build the site first`);

    // Everything this run makes on disk lives here, and goes with it.
    const scratch = mkdtempSync(path.join(tmpdir(), `orseta-web-${options.browser}-`));
    const browsers = [];
    const servers = [];
    // One cleanup, however many ways the run ends at once: whoever comes
    // second waits for the first to finish.
    let cleaning = null;
    let stopping = false;
    const cleanup = () => (cleaning ??= (async () => {
        await Promise.allSettled(servers.map((s) => s.close()));
        await Promise.allSettled(browsers.map((b) => b.close()));
        rmSync(scratch, { recursive: true, force: true });
    })());
    const onSignal = (signal) => {
        stopping = true;
        cleanup().finally(() => process.exit(signal === 'SIGINT' ? 130 : 143));
    };
    process.on('SIGINT', onSignal);
    process.on('SIGTERM', onSignal);

    const launch = async (prefs = {}) => {
        const profile = mkdtempSync(path.join(scratch, 'profile-'));
        const browser = options.browser === 'firefox'
            ? await puppeteer.launch({
                browser: 'firefox',
                executablePath: browserInfo.executable,
                headless: true,
                userDataDir: profile,
                extraPrefsFirefox: prefs,
                protocolTimeout: 30000,
            })
            : await puppeteer.launch({
                executablePath: browserInfo.executable,
                headless: true,
                userDataDir: profile,
                protocolTimeout: 30000,
                args: [
                    ...(process.getuid?.() === 0 ? ['--no-sandbox'] : []),
                    '--disable-gpu', '--disable-quic', '--no-first-run', '--disable-background-networking',
                    '--disable-component-update', '--disable-sync',
                ],
            });
        browsers.push(browser);
        return browser;
    };

    let failed = 0, passed = 0, skipped = 0;
    const started = Date.now();
    try {
        const mainBrowser = await launch();
        let scriptlessBrowser = null;
        console.log(`${options.check} in ${await mainBrowser.version()}`);
        for (const row of rows) {
            if (stopping) break;
            const t0 = Date.now();
            let browser = mainBrowser;
            if (!row.javascript && options.browser === 'firefox') {
                // Firefox's BiDi cannot switch scripting off in a page; its
                // preference does, for a browser of its own.
                scriptlessBrowser ??= await launch({ 'javascript.enabled': false });
                browser = scriptlessBrowser;
            }
            // A row that must not meet what earlier rows left in the profile
            // (service workers, caches) gets a context of its own.
            const context = row.isolate ? await browser.createBrowserContext() : null;
            try {
                await runRow(row, { browser, context, options, scratch, servers, site });
                passed++;
                console.log(`PASS: ${row.name} (${Date.now() - t0} ms)`);
            } catch (error) {
                if (error instanceof Skip) {
                    skipped++;
                    console.log(`SKIP: ${row.name}: ${error.message}`);
                } else {
                    failed++;
                    console.log(`FAIL: ${row.name}: ${error instanceof Failure ? error.message : error.stack}`);
                }
            } finally {
                await context?.close().catch(() => {});
            }
        }
    } finally {
        await cleanup();
    }
    if (stopping) return new Promise(() => {}); // the signal's handler ends the run
    console.log(`${options.check}, ${options.browser}: ${passed} passed, ${failed} failed, ${skipped} skipped ` +
        `in ${((Date.now() - started) / 1000).toFixed(1)} s`);
    return failed ? 1 : passed ? 0 : 77;
}

async function runRow(row, { browser, context, options, scratch, servers, site }) {
    const isFirefox = options.browser === 'firefox';
    let server = null;
    let base;
    if (row.load === 'file') {
        // As a teacher would hand it out: the one file, alone in a folder.
        const alone = mkdtempSync(path.join(scratch, 'file-'));
        copyFileSync(options.file, path.join(alone, 'orseta.html'));
        base = pathToFileURL(path.join(alone, 'orseta.html')).href;
    } else {
        server = await startServer({ root: site, ...row.server });
        servers.push(server);
        base = server.url;
    }

    const page = await (context ?? browser).newPage();
    const seen = { console: [], errors: [], requests: [], failures: [] };
    page.on('console', (m) => {
        if (m.type() === 'error') seen.console.push(m.text());
    });
    page.on('pageerror', (e) => seen.errors.push(e.message ?? String(e)));
    page.on('request', (r) => seen.requests.push(r.url()));
    page.on('requestfailed', (r) => seen.failures.push(`${r.url()}: ${r.failure()?.errorText}`));
    page.setDefaultTimeout(10000);
    try {
        if (row.javascript) {
            // Runs in the page, before its own scripts.
            await page.evaluateOnNewDocument(() => {
                /* global window, document */
                window.__cspViolations = [];
                document.addEventListener('securitypolicyviolation', (e) =>
                    window.__cspViolations.push(`${e.effectiveDirective} blocked ${e.blockedURI}`));
            });
        } else if (!isFirefox) {
            await page.setJavaScriptEnabled(false);
        }
        const setViewport = async ([width, height]) => {
            await page.setViewport({ width, height, hasTouch: row.touch, isMobile: row.touch });
        };
        await setViewport(row.viewport);

        const evaluate = async (expressions) => JSON.parse(await page.evaluate(inPage(expressions, row.javascript)));
        const awaitReady = async () => {
            if (!row.javascript) return;
            const deadline = Date.now() + READY_TIMEOUT;
            for (;;) {
                const [{ value }] = await evaluate(['document.documentElement.dataset.state']);
                if (value && value !== 'loading') break;
                if (Date.now() > deadline) {
                    const [{ value: document }] = await evaluate(['document.readyState']);
                    const fetched = (server?.requests ?? []).map((r) => `${r.path} ${r.status}`).join(', ');
                    throw new Failure(`data-state is still "${value}" after ${READY_TIMEOUT / 1000} s ` +
                        `(document ${document}; the server answered ${fetched || 'nothing'})`);
                }
                await new Promise((r) => setTimeout(r, 50));
            }
            // What a learner first sees is the page's first drawing after
            // that (the autofocus among it).
            await evaluate(['new Promise((r) => requestAnimationFrame(() => requestAnimationFrame(r)))']);
        };
        // Each load opens the address afresh, as a link from elsewhere does
        // (from the page itself an address that differs in its fragment alone
        // would only scroll it), or, 'over' the page, as if typed over its
        // address.
        const load = async (suffix = '', over = false) => {
            if (suffix && !over) await page.goto('about:blank');
            const response = await page.goto(base + suffix, { waitUntil: 'load' });
            if (response && !response.ok() && response.status() !== 0)
                throw new Failure(`${base + suffix} answered ${response.status()}`);
            await awaitReady();
        };
        await load();
        const [{ value: size }] = await evaluate(['[innerWidth, innerHeight]']);
        if (!isDeepStrictEqual(size, row.viewport))
            throw new Failure(row.touch && size[0] > row.viewport[0]
                ? `laid out ${size.join('×')} on a ${row.viewport.join('×')} phone: the page is wider than the screen`
                : `the viewport is ${size.join('×')}, not ${row.viewport.join('×')}`);

        // Where on the page a selector's element is, scrolled into view as a
        // learner would scroll to it, and that nothing else covers the point.
        const pointOf = async (selector, at = [0.5, 0.5]) => {
            const [{ value, error }] = await evaluate([`(() => {
                const e = document.querySelector(${JSON.stringify(selector)});
                if (!e) return 'missing';
                let r = e.getBoundingClientRect();
                if (r.top < 0 || r.bottom > innerHeight || r.left < 0 || r.right > innerWidth) {
                    e.scrollIntoView({ block: 'center', inline: 'center' });
                    r = e.getBoundingClientRect();
                }
                const x = r.x + r.width * ${at[0]}, y = r.y + r.height * ${at[1]};
                const hit = document.elementFromPoint(x, y);
                if (!hit || !(e === hit || e.contains(hit) || (e.control && e.control === hit)))
                    return 'covered by ' + (hit ? hit.tagName + '#' + hit.id : 'nothing');
                return [x, y];
            })()`]);
            if (error || typeof value === 'string') throw new Failure(`${selector}: ${error ?? value}`);
            return value;
        };

        // Plays STEPS[I], with the expectations right after it, and says
        // which step it got to.
        const play = async (step, steps, i) => {
            if ('expect' in step) {
                // Consecutive expectations are asked in one go.
                let j = i;
                while (j < steps.length && 'expect' in steps[j]) j++;
                const batch = steps.slice(i, j);
                const results = await evaluate(batch.map((s) => s.expect));
                batch.forEach((s, k) => {
                    const want = 'is' in s ? s.is : true;
                    const { value, error } = results[k];
                    const what = s.written ?? s.expect;
                    if (error) throw new Failure(`step ${i + k + 1}, ${what}: ${error}`);
                    if (!isDeepStrictEqual(value, want))
                        throw new Failure(`step ${i + k + 1}, ${what}:\n    got      ${JSON.stringify(value)}\n    expected ${JSON.stringify(want)}`);
                });
                return j - 1;
            } else if ('click' in step) {
                const [x, y] = await pointOf(step.click, step.at);
                await page.mouse.click(x, y);
            } else if ('tap' in step) {
                const [x, y] = await pointOf(step.tap);
                await page.touchscreen.tap(x, y);
            } else if ('press' in step) {
                for (const chord of [step.press].flat()) {
                    const keys = chord.split('+').map((k) => keyName(options.browser, k));
                    const key = keys.pop();
                    for (const modifier of keys) await page.keyboard.down(modifier);
                    await page.keyboard.press(key);
                    for (const modifier of keys.reverse()) await page.keyboard.up(modifier);
                }
            } else if ('focus' in step) {
                const [{ error }] = await evaluate([`$(${JSON.stringify(step.focus)}).focus()`]);
                if (error) throw new Failure(`focus ${step.focus}: ${error}`);
            } else if ('wait' in step) {
                const deadline = Date.now() + 10000;
                for (;;) {
                    const [{ value, error }] = await evaluate([step.wait]);
                    if (value) break;
                    if (Date.now() > deadline) throw new Failure(`${step.wait} never became true${error ? ': ' + error : ''}`);
                    await new Promise((r) => setTimeout(r, 100));
                }
            } else if ('load' in step) {
                await load(step.load, step.over);
            } else if ('reload' in step) {
                await page.reload({ waitUntil: 'load' });
                await awaitReady();
            } else if ('awayAndBack' in step) {
                // Back as the browser's button goes: a page brought back from
                // the back-forward cache raises no load, so its return is
                // waited for.
                await page.goto(base + step.awayAndBack, { waitUntil: 'load' });
                await page.evaluate('history.back()');
                const deadline = Date.now() + READY_TIMEOUT;
                const back = `location.href === ${JSON.stringify(base)} && document.readyState === 'complete'`;
                while (!(await page.evaluate(back).catch(() => false))) {
                    if (Date.now() > deadline) throw new Failure(`Back did not return to ${base}`);
                    await new Promise((r) => setTimeout(r, 50));
                }
                await awaitReady();
            } else if ('forcedColors' in step) {
                // A high-contrast theme, as Windows has; only Chromium's
                // DevTools protocol can put a page under one.
                if (options.browser !== 'chromium')
                    throw new Skip('only Chromium can put a page under forced colours (a high-contrast theme)');
                const session = await page.createCDPSession();
                await session.send('Emulation.setEmulatedMedia', { features: [{ name: 'forced-colors', value: 'active' }] });
            } else if ('offline' in step) {
                await server.goOffline();
            } else if ('viewport' in step) {
                await setViewport(step.viewport);
                await evaluate(['new Promise((r) => requestAnimationFrame(() => requestAnimationFrame(r)))']);
            } else if ('settle' in step) {
                // Icons and the manifest are asked for after the load.
                await evaluate(['new Promise((r) => (document.readyState === "complete" ? r() : addEventListener("load", r))).then(() => new Promise((r) => setTimeout(r, 700)))']);
            } else if ('clean' in step) {
                const [{ value: violations }] = await evaluate(['window.__cspViolations ?? ["no listener"]']);
                const problems = [
                    ...violations.map((v) => `CSP: ${v}`),
                    ...(server?.reports ?? []).map((r) => `CSP report: ${JSON.stringify(r)}`),
                    ...seen.console.map((m) => `console error: ${m}`),
                    ...seen.errors.map((m) => `page error: ${m}`),
                    ...seen.failures.map((m) => `request failed: ${m}`),
                    ...(server?.requests ?? []).filter((r) => r.status >= 400).map((r) => `${r.method} ${r.path}: ${r.status}`),
                    ...seen.requests.filter((u) => !(server ? u.startsWith(server.origin + '/') : u === page.url().split('#')[0]) &&
                        !/^(data|blob):/.test(u)).map((u) => `${server ? 'request to another origin' : 'fetched from outside the file'}: ${u}`),
                ];
                if (problems.length) throw new Failure(problems.join('\n    '));
            } else if ('cookies' in step) {
                const cookies = await (context ?? browser.defaultBrowserContext()).cookies();
                if (cookies.length) throw new Failure(`cookies: ${cookies.map((c) => c.name).join(', ')}`);
            } else if ('axe' in step) {
                const [{ value: present }] = await evaluate(['typeof axe !== "undefined"']);
                if (!present) await page.evaluate(readFileSync(path.join(here, 'node_modules/axe-core/axe.min.js'), 'utf8'));
                const [{ value, error }] = await evaluate([`axe.run(document, { runOnly: { type: 'tag', values: ${JSON.stringify(AXE_TAGS)} }, resultTypes: ['violations'] })
                    .then((r) => r.violations.map((v) => v.id + ' (' + v.impact + '): ' + v.nodes.map((n) => n.target.join(' ')).join(', ')))`]);
                if (error) throw new Failure(`axe: ${error}`);
                if (value.length) throw new Failure(`axe-core: ${value.join('\n    ')}`);
            } else {
                throw new Error(`unknown step ${JSON.stringify(step)}`);
            }
            return i;
        };

        const steps = row.steps;
        for (let i = 0; i < steps.length; ++i) {
            const step = steps[i];
            try {
                i = await play(step, steps, i);
            } catch (error) {
                if (error instanceof Failure || error instanceof Skip) throw error;
                // A browser's or protocol's error, said in its first lines.
                const said = String(error.message ?? error).split('\n').slice(0, 2).join(' ');
                throw new Failure(`step ${i + 1}, ${JSON.stringify(step).slice(0, 200)}: ${said}`);
            }
        }
    } finally {
        await page.close().catch(() => {});
        if (server) await server.close();
    }
}

main().then((code) => process.exit(code), (error) => {
    console.log(`FAIL: ${error.stack ?? error}`);
    process.exit(1);
});
