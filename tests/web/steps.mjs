// SPDX-FileCopyrightText: 2026 Орсета developers <orseta@orseta.example>
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Plays one row of cases.json (as expand.mjs leaves it) on a page, the same
// for every browser: what differs between them is in their drivers
// (puppeteer.mjs for Chromium and Firefox, webdriver.mjs for WebKitGTK),
// each a tab with these methods:
//   setViewport([w, h], touch)   the page's size; may throw Skip
//   address(base, suffix)        where to go to open base + suffix
//   goto(url)                    a top-level load; its HTTP status, if known
//   enter()                      after each load, into the page itself
//   reload()
//   evaluate(fn, scripting)      calls fn's source in the page, awaits it
//                                where scripting is on, and gives its value
//   run(expression)              an expression's value in the page
//   inject(script)               runs a script in the page (axe-core)
//   click(point), tap(point)     point as pointOf() finds it
//   press(modifiers, key)        key names as cases.json writes them
//   forcedColors()               the page under a high-contrast theme
// (a driver's cannot(step) says why it cannot play a step, and the row is
// skipped before it starts),
//   cookies()                    the cookies' names
//   url()                        the page's address
//   close()
// and watchesViolations (whether it lists the policy's violations in
// window.__cspViolations from the start of each document) and seen (the
// console's errors, the page's errors, the requests and those that failed;
// null where the driver cannot see them).

import { readFileSync } from 'node:fs';
import path from 'node:path';
import { fileURLToPath } from 'node:url';
import { isDeepStrictEqual } from 'node:util';

const here = path.dirname(fileURLToPath(import.meta.url));
const AXE_TAGS = ['wcag2a', 'wcag2aa', 'wcag21a', 'wcag21aa', 'wcag22aa'];
const READY_TIMEOUT = 15000;

// Fails the row with what was seen.
export class Failure extends Error {}
// Skips the row, saying why.
export class Skip extends Error {}
export const NO_FORCED_COLOURS = 'only Chromium can put a page under forced colours (a high-contrast theme)';

const pageJs = readFileSync(path.join(here, 'page.js'), 'utf8');
// A function's source: each expression runs after page.js, in a function of
// its own, and whatever it returns (a promise too) is the value compared; the
// function gives them all, as JSON. With scripting off in the page no promise
// ever settles, so there the expressions are read as they are.
export const inPage = (expressions, scripting = true) =>
    `(${scripting ? 'async ' : ''}() => { ${pageJs}\nconst results = [];\n` +
    expressions.map((e) => `try { results.push({ value: ${scripting ? 'await ' : ''}(${e}) }); } catch (error) { results.push({ error: String(error) }); }`).join('\n') +
    '\nreturn JSON.stringify(results); })';

// Where on the page a selector's element is, scrolled into view as a learner
// would scroll to it, and that nothing else covers the point: [x, y] in the
// viewport, and [dx, dy] from the element's centre (WebDriver's actions
// start from there).
const pointScript = (selector, at) => `(() => {
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
    return [x, y, x - (r.x + r.width / 2), y - (r.y + r.height / 2)];
})()`;

const sleep = (ms) => new Promise((r) => setTimeout(r, ms));
const NEXT_FRAME = 'new Promise((r) => requestAnimationFrame(() => requestAnimationFrame(r)))';

// Plays ROW on TAB. BASE is the page's address; SERVER the test's server
// serving it (null for a file).
export async function playRow(row, tab, { base, server }) {
    const evaluate = async (expressions) => JSON.parse(await tab.evaluate(inPage(expressions, row.javascript), row.javascript));

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
            await sleep(50);
        }
        // What a learner first sees is the page's first drawing after that
        // (the autofocus among it).
        await evaluate([NEXT_FRAME]);
    };
    // Each load opens the address afresh, as a link from elsewhere does (from
    // the page itself an address that differs in its fragment alone would
    // only scroll it), or, 'over' the page, as if typed over its address.
    const load = async (suffix = '', over = false) => {
        if (suffix && !over) await tab.goto('about:blank');
        const status = await tab.goto(tab.address(base, suffix));
        // 0: from the service worker or the disk, as some browsers say.
        if (status && (status < 200 || status > 299))
            throw new Failure(`${base + suffix} answered ${status}`);
        await tab.enter();
        await awaitReady();
    };

    const pointOf = async (selector, at = [0.5, 0.5]) => {
        const [{ value, error }] = await evaluate([pointScript(selector, at)]);
        if (error || typeof value === 'string') throw new Failure(`${selector}: ${error ?? value}`);
        const [x, y, dx, dy] = value;
        return { selector, x, y, dx, dy };
    };

    // Plays STEPS[I], with the expectations right after it, and says which
    // step it got to.
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
            await tab.click(await pointOf(step.click, step.at));
        } else if ('tap' in step) {
            await tab.tap(await pointOf(step.tap));
        } else if ('press' in step) {
            for (const chord of [step.press].flat()) {
                const keys = chord.split('+');
                const key = keys.pop();
                await tab.press(keys, key);
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
                await sleep(100);
            }
        } else if ('load' in step) {
            await load(step.load, step.over);
        } else if ('reload' in step) {
            await tab.reload();
            await tab.enter();
            await awaitReady();
        } else if ('awayAndBack' in step) {
            // Back as the browser's button goes: a page brought back from the
            // back-forward cache raises no load, so its return is waited for.
            await tab.goto(base + step.awayAndBack);
            await tab.run('history.back()');
            const deadline = Date.now() + READY_TIMEOUT;
            const back = `location.href === ${JSON.stringify(base)} && document.readyState === 'complete'`;
            while (!(await tab.run(back).catch(() => false))) {
                if (Date.now() > deadline) throw new Failure(`Back did not return to ${base}`);
                await sleep(50);
            }
            await tab.enter();
            await awaitReady();
        } else if ('forcedColors' in step) {
            await tab.forcedColors();
        } else if ('offline' in step) {
            await server.goOffline();
        } else if ('viewport' in step) {
            await tab.setViewport(step.viewport, row.touch);
            await tab.enter();
            await evaluate([NEXT_FRAME]);
        } else if ('settle' in step) {
            // Icons and the manifest are asked for after the load.
            await evaluate(['new Promise((r) => (document.readyState === "complete" ? r() : addEventListener("load", r))).then(() => new Promise((r) => setTimeout(r, 700)))']);
        } else if ('clean' in step) {
            const [{ value: violations }] = await evaluate([`window.__cspViolations ?? ${tab.watchesViolations ? '["no listener"]' : '[]'}`]);
            const seen = tab.seen ?? { console: [], errors: [], requests: [], failures: [] };
            const page = tab.seen ? (await tab.url()).split('#')[0] : null;
            const problems = [
                ...violations.map((v) => `CSP: ${v}`),
                ...(server?.reports ?? []).map((r) => `CSP report: ${JSON.stringify(r)}`),
                ...seen.console.map((m) => `console error: ${m}`),
                ...seen.errors.map((m) => `page error: ${m}`),
                ...seen.failures.map((m) => `request failed: ${m}`),
                ...(server?.requests ?? []).filter((r) => r.status >= 400).map((r) => `${r.method} ${r.path}: ${r.status}`),
                ...seen.requests.filter((u) => !(server ? u.startsWith(server.origin + '/') : u === page) &&
                    !/^(data|blob):/.test(u)).map((u) => `${server ? 'request to another origin' : 'fetched from outside the file'}: ${u}`),
            ];
            if (problems.length) throw new Failure(problems.join('\n    '));
        } else if ('cookies' in step) {
            const cookies = await tab.cookies();
            if (cookies.length) throw new Failure(`cookies: ${cookies.join(', ')}`);
        } else if ('axe' in step) {
            const [{ value: present }] = await evaluate(['typeof axe !== "undefined"']);
            if (!present) await tab.inject(readFileSync(path.join(here, 'node_modules/axe-core/axe.min.js'), 'utf8'));
            const [{ value, error }] = await evaluate([`axe.run(document, { runOnly: { type: 'tag', values: ${JSON.stringify(AXE_TAGS)} }, resultTypes: ['violations'] })
                .then((r) => r.violations.map((v) => v.id + ' (' + v.impact + '): ' + v.nodes.map((n) => n.target.join(' ')).join(', ')))`]);
            if (error) throw new Failure(`axe: ${error}`);
            if (value.length) throw new Failure(`axe-core: ${value.join('\n    ')}`);
        } else {
            throw new Error(`unknown step ${JSON.stringify(step)}`);
        }
        return i;
    };

    await tab.setViewport(row.viewport, row.touch);
    await load();
    const [{ value: size }] = await evaluate(['[innerWidth, innerHeight]']);
    if (!isDeepStrictEqual(size, row.viewport))
        throw new Failure(row.touch && size[0] > row.viewport[0]
            ? `laid out ${size.join('×')} on a ${row.viewport.join('×')} phone: the page is wider than the screen`
            : `the viewport is ${size.join('×')}, not ${row.viewport.join('×')}`);

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
}
