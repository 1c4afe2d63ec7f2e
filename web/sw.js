// SPDX-FileCopyrightText: 2026 Орсета developers <orseta@orseta.example>
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Keeps the site's files after the first visit, so that the quiz opens with
// no network. It keeps nothing of the learner's: only these files.
'use strict';

const KEPT = 'orseta-@FINGERPRINT@';
const FILES = [
  "./",
  /* @FILES@ */
];

self.addEventListener('install', (event) => {
  event.waitUntil(caches.open(KEPT).then((cache) => cache.addAll(FILES))
    .then(() => self.skipWaiting()));
});

// A newer set of files replaces the older at once.
self.addEventListener('activate', (event) => {
  event.waitUntil(caches.keys()
    .then((names) => Promise.all(names
      .filter((name) => name.startsWith('orseta-') && name !== KEPT)
      .map((name) => caches.delete(name))))
    .then(() => self.clients.claim()));
});

// The site's own files from what is kept, whatever query the address
// carries; anything else from the network as usual.
self.addEventListener('fetch', (event) => {
  const request = event.request;
  if (request.method !== 'GET' || new URL(request.url).origin !== self.location.origin)
    return;
  event.respondWith(caches.open(KEPT)
    .then((cache) => cache.match(request, { ignoreSearch: true }))
    .then((kept) => kept || fetch(request)));
});
