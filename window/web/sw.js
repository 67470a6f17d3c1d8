// Keeps one release of the page, so that after one visit it starts without a network. A release
// is every file of one build with its SHA-256, written in here by the build: a new build is a new
// worker, which fills a cache of its own whole and checked before it serves from it. Only this
// program's caches in this scope are touched.
const RELEASE = @RELEASE@;
const PREFIX = `quorvane-calculator ${self.registration.scope} `;
const CACHE = `${PREFIX}@RELEASE_ID@`;
const LEGACY = /^quorvane-[\d.]+$/; // the one cache of the first worker, in any scope

const hex = (data) => Array.from(new Uint8Array(data), (b) => (256 + b).toString(16).slice(1));

async function fill() {
  const cache = await caches.open(CACHE);
  await Promise.all(Object.entries(RELEASE).map(async ([name, sum]) => {
    // Past the browser's cache: a host may give the new file the old file's date, and then a
    // revalidation answers with the old file.
    const response = await fetch(name, { cache: 'reload' });
    const bytes = await response.clone().arrayBuffer();
    if (!response.ok || hex(await crypto.subtle.digest('SHA-256', bytes)).join('') !== sum)
      throw new Error(`${name} is not of this release`);
    await cache.put(name, response);
  }));
}

// A page that no release of ours serves yet is taken over at once; otherwise the next load
// hands over (below), so that no page runs on two releases.
async function install() {
  await fill().catch(async (error) => { await caches.delete(CACHE); throw error; });
  const older = (await caches.keys()).some((k) => k.startsWith(PREFIX) && k !== CACHE);
  if (!older) await self.skipWaiting();
}

async function activate() {
  const theirs = (k) => (k.startsWith(PREFIX) && k !== CACHE) || LEGACY.test(k);
  await Promise.all((await caches.keys()).filter(theirs).map((k) => caches.delete(k)));
  await self.clients.claim();
}

// A load while a new release waits is a page that asks it to take over, then loads again from
// it once it is active (or after 3 s, whatever happened): no page runs on two releases.
const HANDOVER = `<!doctype html><title></title><script>
setTimeout(() => location.reload(), 3000);
navigator.serviceWorker.getRegistration().then((r) => {
  const next = r.waiting;
  if (!next || next.state === 'activated') return location.reload();
  next.onstatechange = () => next.state === 'activated' && location.reload();
  next.postMessage('take over');
});
</script>`;

// The release's files from its cache; anything else is the browser's, revalidated.
async function serve(request, name) {
  const { waiting } = self.registration;
  if (request.mode === 'navigate' && waiting) {
    waiting.postMessage('take over'); // where a worker can tell another; else the page does
    return new Response(HANDOVER, { headers: { 'Content-Type': 'text/html' } });
  }
  return (await caches.match(name, { cacheName: CACHE })) || fetch(request, { cache: 'no-cache' });
}

// The browser's own check for a new worker revalidates, and a host that dates the new worker as
// the old one answers that with the old: each load fetches it afresh first.
const update = () => fetch('sw.js', { cache: 'reload' }).then(() => self.registration.update());

self.addEventListener('install', (event) => event.waitUntil(install()));
self.addEventListener('activate', (event) => event.waitUntil(activate()));
self.addEventListener('message', (event) => event.data === 'take over' && self.skipWaiting());
self.addEventListener('fetch', (event) => {
  const { request } = event, { scope } = self.registration;
  if (request.mode === 'navigate') event.waitUntil(update().catch(() => {}));
  const name = request.url.slice(scope.length).split(/[?#]/)[0] || 'index.html';
  if (request.method === 'GET' && request.url.startsWith(scope) && name in RELEASE)
    event.respondWith(serve(request, name));
});
