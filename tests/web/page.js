// SPDX-FileCopyrightText: 2026 Орсета developers <orseta@orseta.example>
//
// SPDX-License-Identifier: GPL-3.0-or-later

// What the tests ask of the page, run inside it in every browser
// (steps.mjs): each expectation in cases.json is an expression over these.
// steps.mjs puts this text in front of each expression, so nothing here may
// need more than one expression's scope, and nothing is left behind in the
// page but what a test asked for.

const $ = (selector) => document.querySelector(selector);
const $$ = (selector) => [...document.querySelectorAll(selector)];
const state = () => document.documentElement.dataset.state;
// The text exactly as the quiz stored it, with CR LF.
const out = () => window.Orseta.view.GetOutputText();
// What the learner sees in the box.
const shown = () => $('#Text1-0').value;
const optionOf = (element) => element?.closest?.('label.option') ?? null;
// The id of what has the focus; for an option, its coloured box's.
const focused = () => {
    const e = document.activeElement;
    if (!e || e === document.body) return null;
    return optionOf(e)?.id ?? e.id ?? e.tagName.toLowerCase();
};
const checked = () => $$('input[type=radio]:checked').map((r) => optionOf(r).id);
const retired = () => $$('input[type=radio]:disabled').map((r) => optionOf(r).id);
const enabled = () => $$('input, button').filter((e) => !e.disabled).length;
const caret = () => [$('#Text1-0').selectionStart, $('#Text1-0').selectionEnd];
const controls = () => ['#Label1-0', '#Text1-0', ...$$('label.option').map((l) => '#' + l.id), '#Command1-0', '#Command1-1'];

// Under a high-contrast theme: what keeps a learner from telling the form's
// states apart. A retired variety's caption must be in the theme's colour
// for what is unavailable, and no other option's; what has the focus must
// be framed; the groups' frames and the buttons' edges must be drawn.
const highContrastFaults = () => {
    const probe = document.createElement('span');
    probe.style.color = 'GrayText';
    document.body.append(probe);
    const grey = getComputedStyle(probe).color;
    probe.remove();
    const faults = [];
    for (const label of $$('label.option')) {
        const off = label.querySelector('input').disabled;
        if ((getComputedStyle(label).color === grey) !== off)
            faults.push(`${label.id} is ${off ? 'retired but not' : 'available but'} drawn in GrayText`);
    }
    const focus = optionOf(document.activeElement) ?? document.activeElement;
    const ring = getComputedStyle(focus);
    if (ring.outlineStyle === 'none' || parseFloat(ring.outlineWidth) === 0)
        faults.push(`${focus.id} has the focus without a frame`);
    const lined = (style) => style.borderStyle !== 'none' && parseFloat(style.borderWidth) > 0;
    for (const frame of $$('fieldset'))
        if (!lined(getComputedStyle(frame)) && !lined(getComputedStyle(frame, '::before')))
            faults.push(`${frame.id} has no frame`);
    for (const button of $$('button'))
        if (!lined(getComputedStyle(button))) faults.push(`${button.id} has no edge`);
    return faults;
};

// Drawn at all: in the layout, not hidden, with some size.
const rendered = (element) => {
    if (!element) return false;
    const style = getComputedStyle(element);
    const box = element.getBoundingClientRect();
    return style.visibility !== 'hidden' && style.display !== 'none' && box.width > 0 && box.height > 0 &&
        element.getClientRects().length > 0;
};
// Not one of the quiz's controls is drawn (the banner, a heading, may stay).
const noControlShown = () => ['#Text1-0', 'fieldset', 'legend', 'label.option', 'input', 'button']
    .flatMap((s) => $$(s)).filter(rendered).map((e) => e.id || e.tagName.toLowerCase());
// One sentence of Bulgarian, shown.
const sentence = (selector) => {
    const e = $(selector);
    if (!rendered(e)) return `${selector} is not shown`;
    const text = e.textContent.trim().replace(/\s+/g, ' ');
    return /^[А-ЯЁ][^.!?]*[а-яё][^.!?]*[.!]$/u.test(text) ? true : `not one Bulgarian sentence: "${text}"`;
};

// With scripting off, what the page's noscript elements show.
const noscriptSentence = () => {
    const shownText = $$('body noscript').filter((n) => rendered(n) || [...n.querySelectorAll('*')].some(rendered))
        .map((n) => n.textContent.trim()).filter(Boolean);
    if (shownText.length !== 1) return `${shownText.length} noscript texts shown`;
    const text = shownText[0].replace(/\s+/g, ' ');
    return /^[А-ЯЁ][^.!?]*[а-яё][^.!?]*[.!]$/u.test(text) ? true : `not one Bulgarian sentence: "${text}"`;
};

// Options whose caption is drawn with a blank or line break after it: the
// caption's text takes more room than its letters do.
const trailingBlanksShown = () => $$('label.option').filter((label) => {
    const walker = document.createTreeWalker(label, NodeFilter.SHOW_TEXT);
    for (let node; (node = walker.nextNode());) {
        const letters = node.textContent.trimEnd();
        if (!letters.trim() || letters === node.textContent) continue;
        const whole = document.createRange(), part = document.createRange();
        whole.selectNodeContents(node);
        part.setStart(node, 0);
        part.setEnd(node, letters.length);
        if (whole.getBoundingClientRect().width > part.getBoundingClientRect().width + 0.5 ||
            whole.getClientRects().length > part.getClientRects().length) return true;
    }
    return false;
}).map((l) => l.id);

// The form's scale where the designed form is shown.
const scale = () => Math.min(innerWidth / 514, innerHeight / 444);
const rgb = (c) => `rgb(${c[0]}, ${c[1]}, ${c[2]})`;
const fmt = (r) => `${r.x.toFixed(1)},${r.y.toFixed(1)} ${r.width.toFixed(1)}×${r.height.toFixed(1)}`;

// Each control's border box against its place in twips, relative to its
// container's top left (the form, or an option's frame), at the form's
// scale, within a pixel; the form itself centred at the top. Returns what
// is out of place.
const misplaced = (table, form) => {
    const s = scale();
    const wrong = [];
    const formBox = $('#Tesmoril').getBoundingClientRect();
    const expectForm = { x: (innerWidth - (form[0] / 15) * s) / 2, y: 0, width: (form[0] / 15) * s, height: (form[1] / 15) * s };
    for (const k of ['x', 'y', 'width', 'height'])
        if (Math.abs(formBox[k] - expectForm[k]) > 1) {
            wrong.push(`#Tesmoril at ${fmt(formBox)}, not ${fmt(expectForm)}`);
            break;
        }
    for (const [id, container, twips] of table) {
        const e = $('#' + id);
        if (!e) {
            wrong.push(`#${id} missing`);
            continue;
        }
        const box = e.getBoundingClientRect();
        const origin = container ? $('#' + container).getBoundingClientRect() : formBox;
        const got = { x: box.x - origin.x, y: box.y - origin.y, width: box.width, height: box.height };
        const want = { x: (twips[0] / 15) * s, y: (twips[1] / 15) * s, width: (twips[2] / 15) * s, height: (twips[3] / 15) * s };
        if (['x', 'y', 'width', 'height'].some((k) => Math.abs(got[k] - want[k]) > 1))
            wrong.push(`#${id} at ${fmt(got)} in ${container ?? 'the form'}, not ${fmt(want)}`);
    }
    return wrong;
};

// The colour a learner sees behind an element: its own background, or else
// that of the nearest container that has one.
const backgroundBehind = (element) => {
    for (let e = element; e; e = e.parentElement) {
        const colour = getComputedStyle(e).backgroundColor;
        if (colour !== 'rgba(0, 0, 0, 0)' && colour !== 'transparent') return colour;
    }
    return 'none';
};

const miscoloured = (table) => table
    .filter(([, , , colour]) => colour)
    .map(([id, , , colour]) => [id, getComputedStyle($('#' + id)).backgroundColor, rgb(colour)])
    .filter(([, got, want]) => got !== want)
    .map(([id, got, want]) => `#${id} is ${got}, not ${want}`);

// How much larger than its CSS size an element is drawn, through any
// transform or zoom of it or its containers.
const drawnScale = (e) => {
    let s = 1;
    for (let a = e; a; a = a.parentElement) {
        const style = getComputedStyle(a);
        if (style.transform && style.transform !== 'none') {
            const m = new DOMMatrix(style.transform);
            s *= Math.hypot(m.a, m.b);
        }
        const zoom = parseFloat(style.zoom);
        if (zoom && zoom !== 1) s *= zoom;
    }
    return s;
};

// 12 pt at the form's scale, in Times New Roman or Liberation Serif, which
// draw every letter the same width: WIDTH is what TEXT measures in them at
// 16 px, and the option whose caption it is must measure that at the scale.
const misfonted = (ids, text, width) => {
    const s = scale();
    const wrong = [];
    for (const id of ids) {
        const e = $('#' + id);
        const style = getComputedStyle(e);
        const size = parseFloat(style.fontSize) * drawnScale(e);
        if (Math.abs(size - 16 * s) > 0.1) wrong.push(`#${id}: ${size.toFixed(2)} px, not ${(16 * s).toFixed(2)}`);
        const first = style.fontFamily.split(',')[0].trim().replace(/^["']|["']$/g, '');
        if (!['Times New Roman', 'Liberation Serif'].includes(first)) wrong.push(`#${id}: font ${style.fontFamily}`);
    }
    const label = $$('label.option').find((l) => l.textContent.trim() === text);
    if (!label) return wrong.concat(`no option reads "${text}"`);
    // The caption's letters alone, wherever in the label they are.
    const walker = document.createTreeWalker(label, NodeFilter.SHOW_TEXT);
    let node;
    while ((node = walker.nextNode()) && node.textContent.trim() !== text);
    if (!node) return wrong.concat(`"${text}" is not one text in #${label.id}`);
    const range = document.createRange();
    const start = node.textContent.indexOf(text);
    range.setStart(node, start);
    range.setEnd(node, start + text.length);
    const got = range.getBoundingClientRect().width;
    if (Math.abs(got - width * s) > Math.max(1, 0.01 * width * s)) wrong.push(`"${text}" is ${got.toFixed(1)} px wide, not ${(width * s).toFixed(1)}: another font`);
    return wrong;
};

// One column: the banner, the box, the two frames and the buttons each
// below the one before, every option and button on a row of its own, all
// inside the viewport's width, and nothing to scroll sideways. Where
// options or buttons stand side by side, says how, and whether they still
// read in the page's order (left to right, then down).
const notOneColumn = () => {
    const wrong = [];
    if (document.documentElement.scrollWidth > innerWidth)
        wrong.push(`scrolls sideways: ${document.documentElement.scrollWidth} > ${innerWidth}`);
    for (const selector of controls()) {
        const e = $(selector);
        const box = e.getBoundingClientRect();
        if (!rendered(e)) wrong.push(`${selector} not shown`);
        if (box.left < -0.5 || box.right > innerWidth + 0.5) wrong.push(`${selector} reaches outside: ${fmt(box)}`);
    }
    const sections = ['#Label1-0', '#Text1-0', '#Frame1-0', '#Frame1-1', '#Command1-0'];
    sections.slice(1).forEach((selector, i) => {
        if ($(selector).getBoundingClientRect().top < $(sections[i]).getBoundingClientRect().bottom - 1)
            wrong.push(`${selector} is beside ${sections[i]}, not below it`);
    });
    const groups = [['the varieties', $$('#Frame1-0 label.option')], ['the minerals', $$('#Frame1-1 label.option')],
        ['the buttons', [$('#Command1-0'), $('#Command1-1')]]];
    for (const [name, elements] of groups) {
        const boxes = elements.map((e) => e.getBoundingClientRect());
        const columns = new Set(boxes.map((b) => Math.round(b.left))).size;
        if (columns > 1) wrong.push(`${name} stand in ${columns} columns`);
        boxes.slice(1).forEach((b, i) => {
            const before = boxes[i];
            const below = b.top >= before.bottom - 1;
            const rightOnTheRow = Math.abs(b.top - before.top) < 1 && b.left >= before.right - 1;
            if (!below && !rightOnTheRow) wrong.push(`#${elements[i + 1].id} comes before #${elements[i].id} in reading order`);
        });
    }
    return wrong;
};

// Every option's box (which chooses it) and every button is at least 24 × 24
// CSS px, or else a 24 px circle round its centre touches no other target
// nor another small one's circle (WCAG 2.2, 2.5.8).
const smallTargets = () => {
    const targets = ['#Command1-0', '#Command1-1', ...$$('label.option').map((l) => '#' + l.id)]
        .map((selector) => ({ selector, box: $(selector).getBoundingClientRect() }));
    const centre = (b) => [b.x + b.width / 2, b.y + b.height / 2];
    const distanceToBox = ([x, y], b) => Math.hypot(Math.max(b.left - x, 0, x - b.right), Math.max(b.top - y, 0, y - b.bottom));
    const small = targets.filter((t) => t.box.width < 24 || t.box.height < 24);
    const wrong = [];
    for (const t of small) {
        const c = centre(t.box);
        for (const other of targets) {
            if (other === t) continue;
            const tooClose = distanceToBox(c, other.box) < 12 ||
                (small.includes(other) && Math.hypot(c[0] - centre(other.box)[0], c[1] - centre(other.box)[1]) < 24);
            if (tooClose) {
                wrong.push(`${t.selector} is ${t.box.width.toFixed(1)}×${t.box.height.toFixed(1)} and too close to ${other.selector}`);
                break;
            }
        }
    }
    return wrong;
};

// What is kept beyond the open page.
const kept = async () => {
    const found = [];
    if (document.cookie !== '') found.push(`cookies: ${document.cookie}`);
    if (localStorage.length) found.push(`localStorage: ${Object.keys(localStorage)}`);
    if (sessionStorage.length) found.push(`sessionStorage: ${Object.keys(sessionStorage)}`);
    if (indexedDB.databases) {
        const databases = await indexedDB.databases();
        if (databases.length) found.push(`IndexedDB: ${databases.map((d) => d.name)}`);
    }
    return found;
};

// Everything the page fetched comes from its own origin (or from inside it).
const foreignFetches = () => performance.getEntriesByType('resource').map((e) => e.name)
    .filter((name) => !/^(data|blob):/.test(name) && new URL(name).origin !== location.origin);
