// SPDX-FileCopyrightText: 2026 Орсета developers <orseta@orseta.example>
//
// SPDX-License-Identifier: GPL-3.0-or-later

// A small static server for the built site, for the browser tests and for a
// person trying the page:
//   node serve.mjs SITE_DIR [--host 127.0.0.1] [--port 8000]
// serves SITE_DIR until Ctrl+C and prints the address. The tests import
// startServer() instead.
//
// Every answer carries the strict Content-Security-Policy the site must work
// under, and nothing is cached by HTTP, so a page that opens without the
// server can only have come from the service worker.

import { createServer } from 'node:http';
import { readFile, stat } from 'node:fs/promises';
import path from 'node:path';
import { fileURLToPath } from 'node:url';

export const STRICT_CSP = "default-src 'self'; script-src 'self' 'wasm-unsafe-eval'";
// Where browsers send reports of what the policy blocked, when asked to.
export const REPORT_PATH = '/.csp-report';
export const VIEWPORT_PAGE = '/.viewport.html';

const escapeHtml = (text) => text.replace(/[&<>"]/g, (c) => `&#${c.charCodeAt(0)};`);

// A page holding a frame W × H px with SRC in it, for a browser whose window
// cannot be made as narrow as a phone. ICON: its own icon's address, or the
// browser asks the site for /favicon.ico on its behalf (on disk, none).
export const framePage = (w, h, src, icon = null) =>
    `<!DOCTYPE html><html lang="bg"><head><meta charset="utf-8"><title>${w} × ${h}</title>` +
    (icon ? `<link rel="icon" href="${escapeHtml(icon)}">` : '') +
    `</head><body><iframe src="${escapeHtml(src)}" width="${w}" height="${h}" frameborder="0" title="Орсета"></iframe></body></html>`;

const TYPES = {
    '.html': 'text/html; charset=utf-8',
    '.css': 'text/css; charset=utf-8',
    '.js': 'text/javascript; charset=utf-8',
    '.mjs': 'text/javascript; charset=utf-8',
    '.json': 'application/json',
    '.webmanifest': 'application/manifest+json',
    '.wasm': 'application/wasm',
    '.woff2': 'font/woff2',
    '.png': 'image/png',
    '.svg': 'image/svg+xml',
    '.ico': 'image/x-icon',
    '.txt': 'text/plain; charset=utf-8',
};

export function contentType(file) {
    return TYPES[path.extname(file).toLowerCase()] ?? 'application/octet-stream';
}

// A loopback address no other test uses at the same time: all of 127/8 is
// the machine itself, so each server takes an address of its own at random
// and the port the system gives it.
export function ownLoopbackAddress() {
    const byte = () => Math.floor(Math.random() * 254) + 1;
    return `127.${byte()}.${byte()}.${byte()}`;
}

// Options:
//   root     the folder to serve
//   host     the address to listen on (default: one of ownLoopbackAddress())
//   port     0 for any free port
//   csp      the policy sent with every answer (null: none)
//   report   ask browsers to report violations of the policy to REPORT_PATH
//   missing  file names (relative to root) answered 404, as if not uploaded
//   cache    the Cache-Control sent (null: none, as from many a school's web
//            server, where browsers keep the page in their history and bring
//            back its form's state)
//   viewportPage  also answer VIEWPORT_PAGE?w=…&h=…&src=…: framePage()
//            with the site's page in it
export async function startServer({
    root,
    host = ownLoopbackAddress(),
    port = 0,
    csp = STRICT_CSP,
    report = false,
    missing = [],
    cache = 'no-store',
    viewportPage = false,
} = {}) {
    root = path.resolve(root);
    const requests = [];
    const reports = [];
    const sockets = new Set();
    const policy = csp && report ? `${csp}; report-uri ${REPORT_PATH}` : csp;

    const server = createServer(async (req, res) => {
        const url = new URL(req.url, 'http://server');
        const entry = { method: req.method, path: url.pathname + url.search };
        const answer = (status, headers = {}, body = '') => {
            entry.status = status;
            requests.push(entry);
            res.writeHead(status, {
                ...(policy ? { 'Content-Security-Policy': policy } : {}),
                ...(cache ? { 'Cache-Control': cache } : {}),
                'X-Content-Type-Options': 'nosniff',
                ...headers,
            });
            res.end(req.method === 'HEAD' ? undefined : body);
        };

        if (req.method === 'POST' && url.pathname === REPORT_PATH) {
            let body = '';
            req.setEncoding('utf8');
            for await (const chunk of req) body += chunk;
            try {
                reports.push(JSON.parse(body));
            } catch {
                reports.push({ unparsed: body });
            }
            return answer(204);
        }
        if (req.method !== 'GET' && req.method !== 'HEAD') return answer(405, { Allow: 'GET, HEAD' });
        if (viewportPage && url.pathname === VIEWPORT_PAGE + '.icon') return answer(204);
        if (viewportPage && url.pathname === VIEWPORT_PAGE) {
            const [w, h] = ['w', 'h'].map((k) => parseInt(url.searchParams.get(k), 10) || 0);
            return answer(200, { 'Content-Type': 'text/html; charset=utf-8' },
                framePage(w, h, url.searchParams.get('src') ?? '/', VIEWPORT_PAGE + '.icon'));
        }

        let relative;
        try {
            relative = decodeURIComponent(url.pathname);
        } catch {
            return answer(400);
        }
        if (relative.endsWith('/')) relative += 'index.html';
        const file = path.resolve(root, '.' + relative);
        if (file !== root && !file.startsWith(root + path.sep)) return answer(404);
        if (missing.includes(path.relative(root, file))) return answer(404);
        try {
            if (!(await stat(file)).isFile()) return answer(404);
            const body = await readFile(file);
            return answer(200, { 'Content-Type': contentType(file), 'Content-Length': body.length }, body);
        } catch {
            return answer(404);
        }
    });
    server.on('connection', (socket) => {
        sockets.add(socket);
        socket.on('close', () => sockets.delete(socket));
    });
    await new Promise((resolve, reject) => {
        server.once('error', reject);
        server.listen(port, host, resolve);
    });
    const { port: actualPort } = server.address();
    const origin = `http://${host}:${actualPort}`;

    let closed = false;
    // Stops listening and drops every open connection: from now on the
    // browser finds nobody at the address, as when the network is gone.
    const close = () => {
        if (closed) return Promise.resolve();
        closed = true;
        const done = new Promise((resolve) => server.close(() => resolve()));
        for (const socket of sockets) socket.destroy();
        return done;
    };
    return { origin, url: origin + '/', host, port: actualPort, requests, reports, goOffline: close, close };
}

async function main(argv) {
    const usage = 'usage: node serve.mjs SITE_DIR [--host ADDRESS] [--port PORT] [--csp POLICY] ' +
        '[--report] [--missing FILE]... [--cache VALUE]';
    const options = { missing: [] };
    let root = null;
    for (let i = 0; i < argv.length; ++i) {
        const arg = argv[i];
        const value = () => {
            if (i + 1 >= argv.length) throw new Error(`${arg} needs a value\n${usage}`);
            return argv[++i];
        };
        if (arg === '--host') options.host = value();
        else if (arg === '--port') options.port = Number(value());
        else if (arg === '--csp') options.csp = value() || null;
        else if (arg === '--report') options.report = true;
        else if (arg === '--missing') options.missing.push(value());
        else if (arg === '--cache') options.cache = value() || null;
        else if (arg === '--help' || arg === '-h') {
            console.log(usage);
            return;
        } else if (!arg.startsWith('--') && root === null) root = arg;
        else throw new Error(`unknown argument ${arg}\n${usage}`);
    }
    if (root === null) throw new Error(usage);
    if ((await stat(path.join(root, 'index.html')).catch(() => null)) === null)
        throw new Error(`${root} has no index.html: build the site first (scripts/web)`);

    const server = await startServer({ root, host: '127.0.0.1', port: 8000, ...options });
    console.log(`Орсета is served at ${server.url} (Ctrl+C stops)`);
    const stop = () => server.close().then(() => process.exit(0));
    process.on('SIGINT', stop);
    process.on('SIGTERM', stop);
}

if (process.argv[1] && path.resolve(process.argv[1]) === fileURLToPath(import.meta.url)) {
    main(process.argv.slice(2)).catch((error) => {
        console.error(`serve.mjs: ${error.message}`);
        process.exit(2);
    });
}
