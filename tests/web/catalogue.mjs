// SPDX-FileCopyrightText: 2026 Орсета developers <orseta@orseta.example>
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The catalogue's texts, read from catalogue/catalogue.cpp, so that the
// verdicts the tests expect are built from the same captions and descriptions
// the quiz quotes, to the letter. Which species is right for each variety is
// not taken from there: speciesOf() is the tests' own answer key.

import { readFileSync } from 'node:fs';
import path from 'node:path';

export const WRONG = 'Грешен отговор - опитайте отново.\r\n';
export const CLEARED = 'Направете своя избор!';

// The species of each variety, from the runs of indices the catalogue
// groups them in (as tests/answerkey.h has it).
export function speciesOf(variety) {
    return variety <= 6 ? 0 : variety <= 12 ? 1 : variety <= 16 ? 2 : variety <= 30 ? 3 : 4;
}

// The C++ string literals in TEXT, in order, unescaped.
function literals(text) {
    const found = [];
    const pattern = /"((?:[^"\\]|\\.)*)"/g;
    for (const match of text.matchAll(pattern)) {
        found.push(match[1].replace(/\\(.)/g, (_, c) => ({ r: '\r', n: '\n', t: '\t' })[c] ?? c));
    }
    return found;
}

export function readCatalogue(sourceDir) {
    const text = readFileSync(path.join(sourceDir, 'catalogue', 'catalogue.cpp'), 'utf8');
    const speciesBlock = text.match(/captions\{([^;]*)\};/);
    const varietiesBlock = text.match(/kVarietyCount> all\{\{([\s\S]*?)\}\};/);
    if (!speciesBlock || !varietiesBlock) throw new Error('catalogue.cpp: the species or varieties were not found');
    const species = literals(speciesBlock[1]);
    const rows = varietiesBlock[1].split(/\/\/ \d+\s*/).filter((row) => row.includes('"'));
    const varieties = rows.map((row) => {
        const [caption, , description] = literals(row);
        return { caption, description };
    });
    if (species.length !== 5 || varieties.length !== 33)
        throw new Error(`catalogue.cpp: read ${species.length} species and ${varieties.length} varieties`);
    return { species, varieties };
}

// What "Изведи" writes for a right pairing of VARIETY.
export function rightVerdict(catalogue, variety) {
    const v = catalogue.varieties[variety];
    return `Правилно!  ${v.caption} -> ${catalogue.species[speciesOf(variety)]}\r\n${v.description}\r\n`;
}
