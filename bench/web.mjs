// SPDX-FileCopyrightText: 2026 Орсета developers <orseta@orseta.example>
//
// SPDX-License-Identifier: GPL-3.0-or-later

// How fast and how heavy the browser page is, in headless Chromium:
//   node bench/web.mjs SITE_DIR [LOADS]
// - ready: the median time, over LOADS loads (default 15) from a local
//   server, until the box holds its text and all 38 options are enabled,
//   against the same page frozen after start (its DOM saved as HTML, no
//   script): what any browser needs at least to show this form. Each load is
//   in a fresh profile, so nothing comes from a cache, and the two pages take
//   turns;
// - weight: all the site's files, compressed as a web server would send them;
// - a right answer: from the click on "Изведи" to the frame that shows the
//   verdict, and how long the quiz took over it.
// Run by bench/web, which builds the site and installs the drivers first.

import { createRequire } from 'node:module';
import { cp, mkdtemp, readdir, readFile, rm, writeFile } from 'node:fs/promises';
import { gzipSync } from 'node:zlib';
import os from 'node:os';
import path from 'node:path';
import { fileURLToPath } from 'node:url';

const here = path.dirname(fileURLToPath(import.meta.url));
const testsWeb = path.join(here, '..', 'tests', 'web');
const puppeteer = createRequire(path.join(testsWeb, 'package.json'))('puppeteer-core');
const { startServer } = await import(path.join(testsWeb, 'serve.mjs'));
// Chromium as the browser tests start it.
const { CHROMIUM, chromiumArgs } = await import(path.join(testsWeb, 'puppeteer.mjs'));

const [siteDir, loadsArgument] = process.argv.slice(2);
if (!siteDir) {
  console.error('usage: node bench/web.mjs SITE_DIR [LOADS]');
  process.exit(2);
}
const loads = Number(loadsArgument || 15);

const median = (values) => {
  const sorted = values.slice().sort((a, b) => a - b);
  const middle = sorted.length >> 1;
  return sorted.length % 2 ? sorted[middle] : (sorted[middle - 1] + sorted[middle]) / 2;
};
const ms = (value) => `${value.toFixed(1)} ms`;

// Notes the moment the page is ready: the first frame drawn once the box
// holds its text and every option is enabled, checked at every change of the
// document. The same watcher for both pages; either is ready for the learner
// only once it is drawn, which for the frozen page too waits for its style.
function watchForReady() {
  const check = () => {
    if (window.orsetaReadyAt !== undefined || window.orsetaSeenReady) return;
    const box = document.getElementById('Text1-0');
    const options = document.querySelectorAll('input[type="radio"]');
    if (box && box.value && options.length === 38 && !Array.from(options).some((o) => o.disabled)) {
      window.orsetaSeenReady = true;
      observer.disconnect();
      requestAnimationFrame(() => { window.orsetaReadyAt = performance.now(); });
    }
  };
  const observer = new MutationObserver(check);
  observer.observe(document, { subtree: true, childList: true, attributes: true, attributeFilter: ['disabled'] });
  document.addEventListener('DOMContentLoaded', check);
  // And when the quiz module has taken the page over.
  new MutationObserver((changes, self) => {
    if (document.documentElement?.dataset.state !== 'ready') return;
    self.disconnect();
    window.orsetaWiredAt = performance.now();
  }).observe(document, { subtree: true, attributes: true, attributeFilter: ['data-state'] });
}

const scratch = await mkdtemp(path.join(os.tmpdir(), 'orseta-bench-'));
const profile = path.join(scratch, 'profile');
let server, browser;
try {
  const site = path.join(scratch, 'site');
  await cp(siteDir, site, { recursive: true });
  server = await startServer({ root: site });
  browser = await puppeteer.launch({
    executablePath: CHROMIUM.executable,
    headless: true,
    userDataDir: profile,
    args: chromiumArgs(),
  });

  async function load(file) {
    const context = await browser.createBrowserContext();
    try {
      const page = await context.newPage();
      await page.setViewport({ width: 1024, height: 768 });
      await page.evaluateOnNewDocument(watchForReady);
      await page.goto(server.url + file);
      await page.waitForFunction(() => window.orsetaReadyAt !== undefined, { timeout: 10000 });
      await page.waitForFunction(() => document.documentElement.dataset.state !== 'loading', { timeout: 10000 });
      return await page.evaluate(() => [window.orsetaReadyAt, window.orsetaWiredAt ?? window.orsetaReadyAt]);
    } finally {
      await context.close();
    }
  }

  // The frozen page: the real one's document after start, without scripts.
  {
    const context = await browser.createBrowserContext();
    const page = await context.newPage();
    await page.goto(server.url);
    await page.waitForFunction(() => document.documentElement.dataset.state === 'ready');
    const frozen = await page.evaluate(() => {
      const copy = document.documentElement.cloneNode(true);
      for (const script of copy.querySelectorAll('script')) script.remove();
      return '<!DOCTYPE html>\n' + copy.outerHTML;
    });
    await writeFile(path.join(site, 'frozen.html'), frozen);
    await context.close();
  }

  const times = { page: [], frozen: [] };
  await load('');
  await load('frozen.html'); // one of each first, to warm up the browser itself
  for (let i = 0; i < loads; ++i) {
    const order = i % 2 ? ['frozen', 'page'] : ['page', 'frozen'];
    for (const which of order) times[which].push(await load(which === 'page' ? '' : 'frozen.html'));
  }
  const page = median(times.page.map((t) => t[0])), frozen = median(times.frozen.map((t) => t[0]));
  console.log(`ready, median of ${loads} loads: page ${ms(page)}, frozen page ${ms(frozen)}: ` +
    `${(page / frozen).toFixed(2)} × (aim: at most 1.25 ×); the quiz module took over after ` +
    `${ms(median(times.page.map((t) => t[1])))}`);

  let weight = 0;
  for (const name of await readdir(siteDir)) weight += gzipSync(await readFile(path.join(siteDir, name)), { level: 9 }).length;
  console.log(`weight of the site, compressed: ${(weight / 1024).toFixed(1)} KiB (aim: at most 100 KiB)`);

  // Right answers by mouse: "аметист" and "кварц", then each variety of
  // "кварц" in turn. The click's time is the browser's; the frame is the one
  // whose animation callbacks run first after it.
  const context = await browser.createBrowserContext();
  const tab = await context.newPage();
  await tab.setViewport({ width: 1024, height: 768 });
  await tab.goto(server.url);
  await tab.waitForFunction(() => document.documentElement.dataset.state === 'ready');
  // Seen from the window: first as the click comes in, last after the
  // page's own handler has run.
  await tab.evaluate(() => {
    window.orsetaAnswers = [];
    const check = document.getElementById('Command1-0');
    let answer;
    window.addEventListener('click', (event) => {
      if (event.target !== check) return;
      answer = { clicked: event.timeStamp };
      requestAnimationFrame(() => {
        answer.toFrame = performance.now() - answer.clicked;
        answer.right = document.getElementById('Text1-0').value.startsWith('Правилно!');
        window.orsetaAnswers.push(answer);
      });
    }, { capture: true });
    window.addEventListener('click', (event) => {
      if (event.target === check) answer.handled = performance.now() - answer.clicked;
    });
  });
  const quartz = [17, 18, 19, 20, 21, 22, 23, 24, 25, 26, 27, 28, 29, 30];
  await tab.click('#Option2-3');
  for (const variety of quartz) {
    await tab.click(`#Option1-${variety}`);
    await tab.click('#Option2-3');
    await tab.click('#Command1-0');
    await tab.evaluate(() => new Promise((resolve) => requestAnimationFrame(() => requestAnimationFrame(resolve))));
  }
  const answers = await tab.evaluate(() => window.orsetaAnswers);
  await context.close();
  const wrong = answers.filter((answer) => !answer.right).length;
  const toFrame = answers.map((answer) => answer.toFrame);
  console.log(`a right answer, ${answers.length} of them${wrong ? ` (${wrong} not right!)` : ''}: ` +
    `drawn in the frame after the click, ${ms(median(toFrame))} later (at most ${ms(Math.max(...toFrame))}; ` +
    `one frame is 16.7 ms); the quiz and the page took ${ms(median(answers.map((a) => a.handled)))}`);
} finally {
  await browser?.close();
  await server?.close();
  await rm(scratch, { recursive: true, force: true });
}
