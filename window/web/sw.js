// Keeps the page, its module and pictures, so that after one visit it starts without a
// network. The network first, while there is one: a new build is seen at once.
const CACHE = 'quorvane-@PROJECT_VERSION@';
const FILES = ['./', 'index.html', 'style.css', 'app.js', 'quorvane.wasm', 'manifest.webmanifest',
               'logo.svg', 'formula-ink.svg', 'icon.svg', 'icon-256.png'];

self.addEventListener('install', (event) => {
  event.waitUntil(caches.open(CACHE).then((cache) => cache.addAll(FILES))
    .then(() => self.skipWaiting()));
});

self.addEventListener('activate', (event) => {
  event.waitUntil(caches.keys()
    .then((keys) => Promise.all(keys.filter((k) => k !== CACHE).map((k) => caches.delete(k))))
    .then(() => self.clients.claim()));
});

self.addEventListener('fetch', (event) => {
  if (event.request.method !== 'GET') return;
  event.respondWith(fetch(event.request).then((response) => {
    if (response.ok) {
      const copy = response.clone();
      caches.open(CACHE).then((cache) => cache.put(event.request, copy));
    }
    return response;
  }).catch(() => caches.match(event.request, { ignoreSearch: true })));
});
