// SPDX-FileCopyrightText: 2026 Орсета developers <orseta@orseta.example>
//
// SPDX-License-Identifier: GPL-3.0-or-later

// ESLint on the page's JavaScript and the browser tests' (the web_eslint
// test runs it from the source folder): its recommended rules, each file in the
// world it runs in.
import js from '@eslint/js';
import globals from 'globals';

export default [
    { ignores: ['**/node_modules/**', 'build*/**'] },
    js.configs.recommended,
    {
        // The page's script, beside the quiz module Emscripten writes.
        files: ['web/**/*.js'],
        languageOptions: {
            sourceType: 'script',
            globals: { ...globals.browser, createOrsetaModule: 'readonly' },
        },
    },
    {
        // What the tests run inside the page: its top-level names are for
        // the expressions of cases.json the drivers append to it.
        files: ['tests/web/**/*.js'],
        languageOptions: { sourceType: 'script', globals: globals.browser },
        rules: { 'no-unused-vars': ['error', { vars: 'local' }] },
    },
    {
        // The tests' drivers and server, on Node.js.
        files: ['tests/web/**/*.mjs'],
        languageOptions: { sourceType: 'module', globals: globals.node },
    },
];
