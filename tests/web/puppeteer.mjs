// SPDX-FileCopyrightText: 2026 Орсета developers <orseta@orseta.example>
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Chromium and Firefox for steps.mjs, through puppeteer-core, with real
// mouse, touch and key events. bench/web.mjs starts its Chromium as these
// tests do (CHROMIUM, chromiumArgs()).

import { existsSync, mkdtempSync } from 'node:fs';
import path from 'node:path';
import { fileURLToPath } from 'node:url';
import { NO_FORCED_COLOURS, Skip } from './steps.mjs';

export const CHROMIUM = { executable: '/usr/bin/chromium', debian: 'chromium' };
export const FIREFOX = { executable: '/usr/bin/firefox-esr', debian: 'firefox-esr' };

// Nothing of the browser's own on the network or the disk besides the page,
// and no GPU to find.
export const chromiumArgs = () => [
    ...(process.getuid?.() === 0 ? ['--no-sandbox'] : []),
    '--disable-gpu', '--disable-quic', '--no-first-run', '--disable-background-networking',
    '--disable-component-update', '--disable-sync',
];

// Key names as each protocol spells them: Firefox's WebDriver BiDi knows no
// "Space", and takes WebDriver's own codes for Enter on the main keys and on
// the keypad.
function keyName(browser, name) {
    if (name === 'Space') return ' ';
    if (browser === 'firefox' && name === 'Enter') return '\uE006';
    if (browser === 'firefox' && name === 'NumpadEnter') return '\uE007';
    return name;
}

// The browser NAME (chromium or firefox), with its profiles in SCRATCH.
// Throws Skip when it is not installed.
export async function openBrowser(name, scratch) {
    const info = name === 'firefox' ? FIREFOX : CHROMIUM;
    if (!existsSync(info.executable)) throw new Skip(`${info.executable} is not installed (Debian: ${info.debian})`);
    let puppeteer;
    try {
        puppeteer = (await import('puppeteer-core')).default;
    } catch {
        throw new Error(`puppeteer-core is not installed: run "npm ci" in ${path.dirname(fileURLToPath(import.meta.url))}`);
    }
    const browsers = [];
    const launch = async (prefs = {}) => {
        const profile = mkdtempSync(path.join(scratch, 'profile-'));
        const browser = name === 'firefox'
            ? await puppeteer.launch({
                browser: 'firefox',
                executablePath: info.executable,
                headless: true,
                userDataDir: profile,
                extraPrefsFirefox: prefs,
                protocolTimeout: 30000,
            })
            : await puppeteer.launch({
                executablePath: info.executable,
                headless: true,
                userDataDir: profile,
                protocolTimeout: 30000,
                args: chromiumArgs(),
            });
        browsers.push(browser);
        return browser;
    };
    const main = await launch();
    let scriptless = null;

    return {
        version: await main.version(),
        // Only Chromium's DevTools protocol can put a page under forced
        // colours.
        cannot: (step) => ('forcedColors' in step && name !== 'chromium' ? NO_FORCED_COLOURS : null),
        async tab(row) {
            let browser = main;
            if (!row.javascript && name === 'firefox') {
                // Firefox's BiDi cannot switch scripting off in a page; its
                // preference does, for a browser of its own.
                scriptless ??= await launch({ 'javascript.enabled': false });
                browser = scriptless;
            }
            // A row that must not meet what earlier rows left in the profile
            // (service workers, caches) gets a context of its own.
            const context = row.isolate ? await browser.createBrowserContext() : null;
            try {
                return await openTab(name, browser, context, row);
            } catch (error) {
                await context?.close().catch(() => {});
                throw error;
            }
        },
        close: () => Promise.allSettled(browsers.map((b) => b.close())),
    };
}

async function openTab(name, browser, context, row) {
    const page = await (context ?? browser).newPage();
    const seen = { console: [], errors: [], requests: [], failures: [] };
    page.on('console', (m) => {
        if (m.type() === 'error') seen.console.push(m.text());
    });
    page.on('pageerror', (e) => seen.errors.push(e.message ?? String(e)));
    page.on('request', (r) => seen.requests.push(r.url()));
    page.on('requestfailed', (r) => seen.failures.push(`${r.url()}: ${r.failure()?.errorText}`));
    page.setDefaultTimeout(10000);
    if (row.javascript) {
        // Runs in the page, before its own scripts.
        await page.evaluateOnNewDocument(() => {
            /* global window, document */
            window.__cspViolations = [];
            document.addEventListener('securitypolicyviolation', (e) =>
                window.__cspViolations.push(`${e.effectiveDirective} blocked ${e.blockedURI}`));
        });
    } else if (name === 'chromium') {
        await page.setJavaScriptEnabled(false);
    }
    return {
        watchesViolations: row.javascript,
        seen,
        setViewport: ([width, height], touch) => page.setViewport({ width, height, hasTouch: touch, isMobile: touch }),
        address: (base, suffix) => base + suffix,
        async goto(url) {
            const response = await page.goto(url, { waitUntil: 'load' });
            return response ? response.status() : null;
        },
        enter: async () => {},
        reload: () => page.reload({ waitUntil: 'load' }),
        evaluate: (fn) => page.evaluate(`${fn}()`),
        run: (expression) => page.evaluate(expression),
        inject: (script) => page.evaluate(script),
        click: ({ x, y }) => page.mouse.click(x, y),
        tap: ({ x, y }) => page.touchscreen.tap(x, y),
        async press(modifiers, key) {
            for (const modifier of modifiers) await page.keyboard.down(keyName(name, modifier));
            await page.keyboard.press(keyName(name, key));
            for (const modifier of [...modifiers].reverse()) await page.keyboard.up(keyName(name, modifier));
        },
        async forcedColors() {
            const session = await page.createCDPSession();
            await session.send('Emulation.setEmulatedMedia', { features: [{ name: 'forced-colors', value: 'active' }] });
        },
        cookies: async () => (await (context ?? browser.defaultBrowserContext()).cookies()).map((c) => c.name),
        url: async () => page.url(),
        async close() {
            await page.close().catch(() => {});
            await context?.close().catch(() => {});
        },
    };
}
