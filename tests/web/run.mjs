// SPDX-FileCopyrightText: 2026 Орсета developers <orseta@orseta.example>
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Plays the rows of one check of cases.json in one browser, with real input
// events (steps.mjs plays them; puppeteer.mjs drives Chromium and Firefox,
// webdriver.mjs WebKitGTK, which wants tests/session.sh --x11 around it):
//   node run.mjs --browser chromium|firefox|webkit --site SITE_DIR --file ORSETA_HTML
//                [--source SOURCE_DIR] [--row SUBSTRING] CHECK
// Each row gets a server of its own on an address of its own; everything
// this starts (servers, browsers, their profiles) is taken down however it
// ends. Exit 0 when every row that ran passed, 1 when one failed, 77 when
// nothing could run here (a skipped row alone says "SKIP:" and why).

import { copyFileSync, existsSync, mkdtempSync, rmSync } from 'node:fs';
import { tmpdir } from 'node:os';
import path from 'node:path';
import { fileURLToPath, pathToFileURL } from 'node:url';
import { expand } from './expand.mjs';
import { startServer } from './serve.mjs';
import { Failure, playRow, Skip } from './steps.mjs';

const here = path.dirname(fileURLToPath(import.meta.url));
const DRIVERS = {
    chromium: async (scratch) => (await import('./puppeteer.mjs')).openBrowser('chromium', scratch),
    firefox: async (scratch) => (await import('./puppeteer.mjs')).openBrowser('firefox', scratch),
    webkit: async (scratch) => (await import('./webdriver.mjs')).openWebKit(scratch),
};

function parseArguments(argv) {
    const options = { source: path.resolve(here, '../..') };
    for (let i = 0; i < argv.length; ++i) {
        const arg = argv[i];
        if (arg.startsWith('--')) options[arg.slice(2)] = argv[++i];
        else options.check = arg;
    }
    for (const needed of ['browser', 'site', 'file', 'check'])
        if (!options[needed]) throw new Error(`--${needed} is missing`);
    if (!DRIVERS[options.browser]) throw new Error(`unknown browser ${options.browser}`);
    return options;
}

// Removes FOLDER, which a browser's own processes may still write to for a
// moment after it has gone (WebKit's do).
async function removeFolder(folder) {
    for (const deadline = Date.now() + 10000; existsSync(folder) && Date.now() < deadline;) {
        try {
            rmSync(folder, { recursive: true, force: true });
        } catch {
            await new Promise((r) => setTimeout(r, 200));
        }
    }
}

async function main() {
    const options = parseArguments(process.argv.slice(2));
    const rows = expand(options.check, options.source).filter((r) => !options.row || r.name.includes(options.row));
    const site = path.resolve(options.site);
    if (!existsSync(path.join(site, 'index.html'))) throw new Error(`${site}/index.html is missing: build the site first`);

    // Everything this run makes on disk lives here, and goes with it.
    const scratch = mkdtempSync(path.join(tmpdir(), `orseta-web-${options.browser}-`));
    let driver = null;
    const servers = [];
    // One cleanup, however many ways the run ends at once: whoever comes
    // second waits for the first to finish.
    let cleaning = null;
    let stopping = false;
    const cleanup = () => (cleaning ??= (async () => {
        await Promise.allSettled(servers.map((s) => s.close()));
        await driver?.close();
        await removeFolder(scratch);
    })());
    const onSignal = (signal) => {
        stopping = true;
        cleanup().finally(() => process.exit(signal === 'SIGINT' ? 130 : 143));
    };
    process.on('SIGINT', onSignal);
    process.on('SIGTERM', onSignal);

    let failed = 0, passed = 0, skipped = 0;
    const started = Date.now();
    try {
        try {
            driver = await DRIVERS[options.browser](scratch);
        } catch (error) {
            if (!(error instanceof Skip)) throw error;
            console.log(`SKIP: ${error.message}`);
            return 77;
        }
        console.log(`${options.check} in ${driver.version}`);
        for (const row of rows) {
            if (stopping) break;
            const t0 = Date.now();
            try {
                const cannot = row.steps.map((step) => driver.cannot(step)).find(Boolean);
                if (cannot) throw new Skip(cannot);
                await playOne(row, { driver, options, scratch, servers, site });
                passed++;
                console.log(`PASS: ${row.name} (${Date.now() - t0} ms)`);
            } catch (error) {
                if (stopping) break; // the row met its browser going away
                if (error instanceof Skip) {
                    skipped++;
                    console.log(`SKIP: ${row.name}: ${error.message}`);
                } else {
                    failed++;
                    console.log(`FAIL: ${row.name}: ${error instanceof Failure ? error.message : error.stack}`);
                }
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

// ROW on a page of its own, from the one file or from a server of its own.
async function playOne(row, { driver, options, scratch, servers, site }) {
    let server = null;
    let base;
    if (row.load === 'file') {
        // As a teacher would hand it out: the one file, alone in a folder.
        const alone = mkdtempSync(path.join(scratch, 'file-'));
        copyFileSync(options.file, path.join(alone, 'orseta.html'));
        base = pathToFileURL(path.join(alone, 'orseta.html')).href;
    } else {
        server = await startServer({ root: site, viewportPage: true, ...row.server });
        servers.push(server);
        base = server.url;
    }
    try {
        const tab = await driver.tab(row);
        try {
            await playRow(row, tab, { base, server });
        } finally {
            await tab.close();
        }
    } finally {
        await server?.close();
    }
}

main().then((code) => process.exit(code), (error) => {
    console.log(`FAIL: ${error.stack ?? error}`);
    process.exit(1);
});
