// The page's side of the window, which the build wrote from the control table: carries each
// event into the module in the shared words, a control as its row of the table (-1 for none),
// and does what it asks. What a key, click or press means, and when words are said, is the
// module's.
const frame = document.getElementById('window');
const controls = []; // by row: the element that holds the control's value and focus
let wasm, accessKey = '';
const utf8 = new TextEncoder(), text8 = new TextDecoder();

function write(text) {
  const bytes = utf8.encode(text);
  const pointer = wasm.exchange(bytes.length);  // first: it may grow the memory
  new Uint8Array(wasm.memory.buffer, pointer, bytes.length).set(bytes);
  return bytes.length;
}
const read = (pointer, length) => text8.decode(new Uint8Array(wasm.memory.buffer, pointer, length));
const answer = (length) => JSON.parse(read(wasm.exchange(0), length));
const rowOf = (element) => Number(element?.closest?.('[data-row]')?.dataset.row ?? -1);

// The view's requests, as the module imports them.
const page = {
  text: (row) => write(controls[row].value),
  set_text(row, pointer, length) { controls[row].value = read(pointer, length); },
  checked: (row) => (controls[row].indeterminate ? 2 : controls[row].checked ? 1 : 0),
  recolour: () => paint(),
  has_focus: (row) => (document.activeElement === controls[row] ? 1 : 0),
  focus(row) { controls[row].focus(); },
  schedule_delivery() { setTimeout(() => wasm.deliver()); },
  say(pointer, length, urgent) {
    // Both regions emptied first: the same words again are new, and no stale words stay.
    const region = document.getElementById(urgent ? 'urgent' : 'said');
    const words = read(pointer, length);
    for (const id of ['said', 'urgent']) document.getElementById(id).textContent = '';
    setTimeout(() => { region.textContent = words; }, 50);
  },
};

// The user's notation, from the browser's languages, as the core reads and writes numbers. One
// format (a fresh page pays for each): always signed, so that its zero shows the plus sign too.
function startIn(locale) {
  const format = new Intl.NumberFormat(locale, { useGrouping: true, signDisplay: 'always' });
  const grouped = format.formatToParts(-1234567890.5), zero = format.formatToParts(0);
  const part = (list, type) => list.find((p) => p.type === type)?.value || '';
  const sizes = grouped.filter((p) => p.type === 'integer').map((p) => p.value.length).reverse();
  const texts = [part(grouped, 'decimal') || '.', part(grouped, 'group') || ',',
                 part(grouped, 'minusSign') || '-', part(zero, 'plusSign') || '+'];
  const length = write(texts.join('\x1F'));
  wasm.start(sizes[0] || 3, sizes[1] || sizes[0] || 3, sizes[1] || sizes[0] || 3,
             part(zero, 'integer').codePointAt(0), length);
  // The boxes are read in that notation's language, right to left where its digits or signs are.
  for (const box of frame.querySelectorAll('input[type=text]')) {
    box.lang = format.resolvedOptions().locale;
    if (/[\u0590-\u08ff]/.test(grouped.map((p) => p.value).join(''))) box.dir = 'rtl';
  }
}

// The shared colour rule on the page's own colours, in any scheme.
function paint() {
  const word = (css) => { const [r, g, b] = css.match(/\d+/g).map(Number); return r | g << 8 | b << 16; };
  const css = (w) => `rgb(${w & 255} ${(w >> 8) & 255} ${(w >> 16) & 255})`;
  const face = word(getComputedStyle(frame).backgroundColor);
  const field = word(getComputedStyle(frame.querySelector('input')).backgroundColor);
  controls.forEach((element, row) => {
    const colour = wasm.colour(row, face, field);
    if (colour < 0) return;
    element.classList.add('ruled');
    element.style.color = css(colour);
  });
  const formula = document.getElementById('Image1');
  const text = word(getComputedStyle(frame).color);
  formula.style.backgroundColor = css(wasm.formula_ink(face, field, text, 1));
  formula.style.setProperty('--ink', css(wasm.formula_ink(face, field, text, 0)));
}

// A key in the shared words (Key's order in reactions.h), or -1 for the browser's own: the
// access key as Alt with its letter (and Shift, as Firefox has it; Control-Option on a Mac), by
// its place where the layout types no Latin letter there, never AltGr, which types characters;
// the keypad's decimal key where it types one, not its Del with NumLock off.
function keyOf(e) {
  const latin = /^[a-z]$/i.test(e.key) ? e.key.toLowerCase() : '';
  const letter = latin || (e.code === `Key${accessKey.toUpperCase()}` ? accessKey : '');
  if (letter === accessKey && e.altKey && !e.metaKey && !e.getModifierState('AltGraph')) return 6;
  if (e.code === 'NumpadDecimal' && e.key.length === 1 && !e.ctrlKey && !e.altKey) return 2;
  const named = { Enter: 0, Escape: 1, 'Control+Backspace': 3, 'Control+Delete': 4 };
  return named[(e.ctrlKey ? 'Control+' : '') + e.key] ?? -1;
}

// What the module makes of a key: swallow it, replace a span of the box as typing, or copy.
function act(e, row, key) {
  const box = controls[row];
  const action = answer(wasm.key_pressed(row, key, box.value.length, box.selectionStart,
                                         box.selectionEnd));
  if (action.swallow) e.preventDefault();
  if (action.replace) {
    box.setRangeText(action.with, ...action.replace, 'end');
    wasm.text_changed(row);
  }
  if ('copy' in action) e.clipboardData.setData('text/plain', action.copy);
}

function listen() {
  const on = (type, react) => addEventListener(type, (e) => {
    if (rowOf(e.target) >= 0) react(e, rowOf(e.target));
  }, true);
  on('input', (e, row) => wasm.text_changed(row));
  on('drop', (e, row) => wasm.text_arriving(row));
  on('dblclick', (e) => e.target.select?.());  // a box holds one number: select all of it
  on('keydown', (e, row) => keyOf(e) >= 0 && act(e, row, keyOf(e)));
  on('copy', (e, row) => act(e, row, 5));
  on('focusout', (e, row) => wasm.focus_left(row, rowOf(e.relatedTarget)));
  // A press where no focus is taken (a caption, a unit, a picture, the face) leaves the focus
  // in the box, as on a desktop window; as does a caption's click. One on the button or the
  // check box gives it the focus here, where Safari would give none, so that the box it leaves
  // reacts before the control acts.
  addEventListener('mousedown', (e) => {
    const row = rowOf(e.target), takes = wasm.takes_focus(row);
    if (takes && controls[row].type === 'text') return;
    e.preventDefault();
    if (takes && controls[row] !== document.activeElement) controls[row].focus();
  }, true);
  addEventListener('click', (e) => wasm.takes_focus(rowOf(e.target)) || e.preventDefault(), true);
  // The press ends after the click that follows its release, or when it is cancelled.
  addEventListener('pointerdown', () => wasm.press_begun(), true);
  for (const type of ['pointerup', 'pointercancel'])
    addEventListener(type, () => setTimeout(() => wasm.press_ended()), true);
  for (const query of ['(prefers-color-scheme: dark)', '(forced-colors: active)'])
    matchMedia(query).addEventListener('change', paint);
}

// The module, or why there is none: the notice that says so is shown.
async function instantiate(imports) {
  if (typeof WebAssembly !== 'object') throw new Error('no-webassembly');
  const response = await fetch('quorvane.wasm').catch(() => null);
  if (!response || !response.ok) throw new Error('unloaded');
  if (/^application\/wasm\b/.test(response.headers.get('Content-Type')))
    return WebAssembly.instantiateStreaming(response, imports);
  // Served with another type: the bytes may still be the module.
  const bytes = await response.arrayBuffer();
  if (!WebAssembly.validate(bytes)) throw new Error('wrong-type');
  return WebAssembly.instantiate(bytes, imports);
}

async function main() {
  // The C library's stdio is linked in but never writes: its calls find no file.
  const wasi = { fd_close: () => 8, fd_seek: () => 8, fd_write: () => 8 };
  wasm = (await instantiate({ page, wasi_snapshot_preview1: wasi })).instance.exports;
  wasm._initialize();
  // The browser's languages that are language tags: WebKitGTK passes the POSIX locale "C" on.
  startIn((navigator.languages || []).filter((tag) => {
    try { return Intl.getCanonicalLocales(tag).length > 0; } catch { return false; }
  }));
  for (const element of frame.querySelectorAll('[data-row]'))
    controls[element.dataset.row] = element.querySelector('input') || element;
  controls.forEach((element, row) => element.addEventListener('click', () => wasm.clicked(row)));
  const shortcut = frame.querySelector('[aria-keyshortcuts]').getAttribute('aria-keyshortcuts');
  accessKey = shortcut.slice(-1).toLowerCase();
  paint();
  listen();
  frame.inert = false;  // painted before the module arrived, and inert until now
  wasm.load();
  if ('serviceWorker' in navigator) navigator.serviceWorker.register('sw.js');
}

// On bad ground one plain sentence says what went wrong, instead of a dead form.
main().catch((error) => {
  frame.parentElement.hidden = true;
  (document.getElementById(error.message) || document.getElementById('unloaded')).hidden = false;
  console.error(error);
});
