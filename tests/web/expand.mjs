// SPDX-FileCopyrightText: 2026 Орсета developers <orseta@orseta.example>
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Turns the rows of cases.json into plain steps for steps.mjs, in one place
// for all browsers: the names ($intro, $places, …) become their values, and a
// round's plan becomes the clicks, taps or keys a learner would use, each
// followed by what the page must then show.
//   node expand.mjs CHECK SOURCE_DIR    prints CHECK's rows as JSON, to read

import { readFileSync } from 'node:fs';
import path from 'node:path';
import { fileURLToPath } from 'node:url';
import { readCatalogue, rightVerdict, speciesOf, WRONG, CLEARED } from './catalogue.mjs';

const here = path.dirname(fileURLToPath(import.meta.url));
export const CHECKS = ['round', 'geometry', 'keyboard', 'axe', 'csp', 'offline', 'fallback'];

function readIntro(sourceDir) {
    const text = readFileSync(path.join(sourceDir, 'form', 'introtext.h'), 'utf8');
    const body = text.slice(text.indexOf('kIntroductoryText'));
    return [...body.matchAll(/"((?:[^"\\]|\\.)*)"/g)]
        .map((m) => m[1].replace(/\\(.)/g, (_, c) => ({ r: '\r', n: '\n' })[c] ?? c))
        .join('');
}

// The twips table as page.js's misplaced() and miscoloured() take it.
function placesTable(form) {
    const table = form.controls.map((c) => [...c]);
    for (let k = 0; k < 5; ++k)
        table.push([`Option2-${k}`, 'Frame1-1',
            [form.species.left, form.species.height * (k + 1), form.species.width, form.species.height], form.species.colour]);
    form.grid.forEach((column, c) => column.forEach((variety, row) => {
        const { left, width, colour } = form.columns[c];
        table.push([`Option1-${variety}`, 'Frame1-0', [left, 300 * (row + 1), width, 300], colour]);
    }));
    return table;
}

function names(cases, catalogue, intro) {
    const form = cases.form;
    const captions = {};
    catalogue.varieties.forEach((v, i) => { captions[`Option1-${i}`] = v.caption.trim(); });
    catalogue.species.forEach((s, k) => { captions[`Option2-${k}`] = s.trim(); });
    return {
        ...cases.texts,
        wrong: WRONG,
        cleared: CLEARED,
        intro,
        introShown: intro.replace(/\r\n/g, '\n'),
        places: placesTable(form),
        size: form.size,
        fontText: form.fontCheck.text,
        fontWidth: form.fontCheck.width,
        gridIds: form.grid.flat().map((v) => `Option1-${v}`),
        captions,
    };
}

function substitute(value, known) {
    const lookup = (name) => {
        if (!(name in known)) throw new Error(`cases.json: unknown name $${name}`);
        return known[name];
    };
    if (typeof value === 'string' && /^\$[A-Za-z]\w*$/.test(value)) return lookup(value.slice(1));
    if (Array.isArray(value)) return value.map((v) => substitute(v, known));
    if (value && typeof value === 'object')
        return Object.fromEntries(Object.entries(value).map(([k, v]) => [k, substitute(v, known)]));
    return value;
}

// Names inside an expression become JSON; $( and $$( are page.js's.
const substituteExpression = (expr, known) =>
    expr.replace(/\$([A-Za-z]\w*)/g, (_, name) => {
        if (!(name in known)) throw new Error(`cases.json: unknown name $${name} in ${expr}`);
        return JSON.stringify(known[name]);
    });

function plainStep(step, known) {
    const s = substitute(step, known);
    // Failures quote the expression as the row has it, names and all.
    if ('expect' in step) {
        s.expect = substituteExpression(step.expect, known);
        if (s.expect !== step.expect) s.written = step.expect;
    }
    if ('wait' in step) s.wait = substituteExpression(step.wait, known);
    return s;
}

// A learner's round: the plan played by mouse, keyboard or touch, with the
// page's state after each press of a button as the quiz's rules make it.
function roundSteps(cases, known, catalogue, by) {
    const form = cases.form;
    const alphabetical = form.grid.flat();
    const retired = new Set();
    let variety = null, species = null; // the options chosen
    let presses = 0;
    let text = null; // what the box holds
    const steps = [];
    const expect = (expr, is) => steps.push({ expect: expr, is });
    const id = (group, i) => `Option${group}-${i}`;
    const choose = (selector, at) => {
        if (by === 'touch') steps.push({ tap: selector });
        else steps.push(at ? { click: selector, at } : { click: selector });
    };

    // Fewest arrow presses from one variety to another, each arrow passing
    // over retired varieties: Down and Up along the alphabetical order, Right
    // and Left across the row (eleven places along it).
    const varietyPath = (from, to) => {
        const moves = { ArrowDown: 1, ArrowUp: -1, ArrowRight: 11, ArrowLeft: -11 };
        const step = (v, delta) => {
            let i = alphabetical.indexOf(v);
            do i = (i + delta + 33) % 33; while (retired.has(alphabetical[i]));
            return alphabetical[i];
        };
        const seen = new Map([[from, []]]);
        const queue = [from];
        while (queue.length) {
            const v = queue.shift();
            if (v === to) return seen.get(v);
            for (const [key, delta] of Object.entries(moves)) {
                const next = step(v, delta);
                if (!seen.has(next)) {
                    seen.set(next, [...seen.get(v), key]);
                    queue.push(next);
                }
            }
        }
        throw new Error(`no way from variety ${from} to ${to}`);
    };
    const speciesPath = (from, to) => {
        const down = (to - from + 5) % 5;
        // Alternately Down and Right, Up and Left, which do the same here.
        return down <= 2 ? Array.from({ length: down }, (_, i) => (i % 2 ? 'ArrowRight' : 'ArrowDown'))
            : Array.from({ length: 5 - down }, (_, i) => (i % 2 ? 'ArrowLeft' : 'ArrowUp'));
    };
    const varietyEntry = () => variety ?? form.varietyTabOrder.find((v) => !retired.has(v));
    const speciesEntry = () => species ?? form.speciesTabOrder[0];
    const tabStopsToClear = () => (retired.size < 33 ? 4 : 3);

    const afterButton = (verdict) => {
        text = verdict;
        expect('out()', text);
        expect('shown()', text.replace(/\r\n/g, '\n'));
        expect('focused()', 'Text1-0');
        expect('caret()', [0, 0]);
        expect('retired().sort()', [...retired].map((v) => id(1, v)).sort());
        expect('checked()', [variety, species].map((x, g) => (x === null ? null : id(g + 1, x))).filter(Boolean));
    };
    const pressButton = (button) => {
        if (by === 'keyboard') steps.push({ press: presses++ % 2 ? 'Enter' : 'Space' });
        else choose(`#${button}`);
    };

    const keyboardPair = (v, k) => {
        steps.push({ press: 'Tab' });
        const entry = varietyEntry();
        expect('focused()', id(1, entry));
        const keys = varietyPath(entry, v);
        if (keys.length) steps.push({ press: keys });
        expect('focused()', id(1, v));
        // Space chooses, and the box empties. On an option already chosen
        // browsers differ (keyboard row "Space on the chosen option"), so
        // the round leaves it be.
        if (variety !== v) {
            steps.push({ press: 'Space' });
            text = '';
        }
        variety = v;
        expect('out()', text);
        steps.push({ press: 'Tab' });
        const speciesFrom = speciesEntry();
        expect('focused()', id(2, speciesFrom));
        const speciesKeys = speciesPath(speciesFrom, k);
        if (speciesKeys.length) steps.push({ press: speciesKeys });
        if (species !== k) {
            steps.push({ press: 'Space' });
            text = '';
        }
        species = k;
        expect('focused()', id(2, k));
        expect('out()', text);
        expect('checked()', [id(1, v), id(2, k)]);
        steps.push({ press: 'Tab' });
        expect('focused()', 'Command1-0');
    };

    let pairs = 0;
    for (const item of cases.round.plan) {
        if (item === 'clear') {
            if (by === 'keyboard') {
                for (let i = 0; i < tabStopsToClear(); ++i) steps.push({ press: 'Tab' });
                expect('focused()', 'Command1-1');
            }
            pressButton('Command1-1');
            retired.clear();
            variety = species = null;
            afterButton(CLEARED);
            expect('enabled()', 40);
            continue;
        }
        if (item === 'again') { // every variety retired: the same verdict once more
            if (by === 'keyboard') {
                steps.push({ press: 'Tab' });
                expect('focused()', id(2, speciesEntry())); // the varieties are passed over
                steps.push({ press: 'Tab' });
                expect('focused()', 'Command1-0');
            }
            pressButton('Command1-0');
            afterButton(text);
            continue;
        }
        const [v, k] = Array.isArray(item) ? item : [item, speciesOf(item)];
        if (by === 'keyboard') keyboardPair(v, k);
        else {
            // Every third pairing clicked near the right end of the option's
            // box, which chooses it as well as its centre does.
            const at = pairs % 3 === 2 ? [0.95, 0.5] : null;
            choose(`#${id(1, v)}`, at);
            choose(`#${id(2, k)}`, at);
            variety = v;
            species = k;
            expect('checked()', [id(1, v), id(2, k)]);
            expect('out()', '');
        }
        pairs++;
        pressButton('Command1-0');
        let verdict = WRONG;
        if (k === speciesOf(v)) {
            const literal = cases.round.literals[String(v)];
            verdict = literal ? substitute(literal, known) : rightVerdict(catalogue, v);
            retired.add(v);
            variety = null;
        }
        afterButton(verdict);
    }
    if (retired.size !== 0 && cases.round.plan.at(-1) === 'clear')
        throw new Error('round plan: the model lost track');
    return steps;
}

export function loadCases() {
    return JSON.parse(readFileSync(path.join(here, 'cases.json'), 'utf8'));
}

export function expand(check, sourceDir) {
    if (!CHECKS.includes(check)) throw new Error(`unknown check ${check}; one of ${CHECKS.join(', ')}`);
    const cases = loadCases();
    const catalogue = readCatalogue(sourceDir);
    const known = names(cases, catalogue, readIntro(sourceDir));
    // The plan pairs each of the 33 varieties right after its "Чисти".
    const plan = cases.round.plan;
    const afterClear = plan.slice(plan.indexOf('clear') + 1).filter((x) => typeof x === 'number');
    if (new Set(afterClear).size !== 33) throw new Error('round plan: not every variety is paired after "clear"');

    return cases[check].rows.map((row) => {
        const plain = {
            name: row.name,
            viewport: row.viewport ?? [1024, 768],
            touch: row.touch ?? false,
            javascript: row.javascript ?? true,
            load: row.load ?? 'site',
            server: row.server ?? {},
            isolate: cases[check].isolate ?? false,
        };
        plain.steps = row.round
            ? roundSteps(cases, known, catalogue, row.round)
            : row.steps.map((step) => plainStep(step, known));
        plain.by = row.round ?? null;
        return plain;
    });
}

if (process.argv[1] && path.resolve(process.argv[1]) === fileURLToPath(import.meta.url)) {
    const [check, sourceDir] = process.argv.slice(2);
    try {
        process.stdout.write(JSON.stringify(expand(check, sourceDir ?? path.resolve(here, '../..'))));
    } catch (error) {
        console.error(`expand.mjs: ${error.message}`);
        process.exit(2);
    }
}
