// The page's side of the window: builds the controls from the module's table, carries each
// event into the module and does what it asks. What happens on an event is the module's.
const frame = document.getElementById('window');
const boxes = [];          // by Input (density, head, flow, efficiency), then the result box
const coloured = new Map(); // element -> its colour word, 0x00BBGGRR
let wasm, memory, pointerDown = false, deliveryDue = false, accessKey = '';
const utf8 = new TextEncoder(), text8 = new TextDecoder();

function write(text) {
  const bytes = utf8.encode(text);
  new Uint8Array(memory.buffer, wasm.exchange(bytes.length), bytes.length).set(bytes);
  return bytes.length;
}
const read = (pointer, length) => text8.decode(new Uint8Array(memory.buffer, pointer, length));

// The view's requests, as the module imports them.
const page = {
  text(box, pointer, capacity) {
    const bytes = utf8.encode(boxes[box].value);
    new Uint8Array(memory.buffer, pointer, capacity).set(bytes.subarray(0, capacity));
    return bytes.length;
  },
  set_text(box, pointer, length) { boxes[box].value = read(pointer, length); },
  live_state: () => { const c = document.getElementById('LiveCalc'); return c.indeterminate ? 2 : c.checked ? 1 : 0; },
  show_edited(box) { coloured.set(boxes[box], 0xFF0000); paint(); },
  has_focus: (box) => (document.activeElement === boxes[box] ? 1 : 0),
  focus(box) { boxes[box].focus(); },
  schedule_delivery() { deliveryDue = true; setTimeout(deliver); },
  say(pointer, length, urgent) {
    // Both regions emptied first: the same words again are new words, and no stale words
    // stay behind.
    const region = document.getElementById(urgent ? 'urgent' : 'said');
    const words = read(pointer, length);
    for (const id of ['said', 'urgent']) document.getElementById(id).textContent = '';
    setTimeout(() => { region.textContent = words; }, 50);
  },
};

// After the focus events of the same key press or click: a click's come before its release.
function deliver() {
  if (!deliveryDue || pointerDown) return;
  deliveryDue = false;
  wasm.deliver();
}

// The user's notation, from the browser's languages, as the core reads and writes numbers.
function startIn(locale) {
  const parts = (options, n) => new Intl.NumberFormat(locale, options).formatToParts(n);
  const part = (list, type) => (list.find((p) => p.type === type) || {}).value || '';
  const grouped = parts({ useGrouping: true }, -1234567890.5);
  const sizes = grouped.filter((p) => p.type === 'integer').map((p) => p.value.length).reverse();
  const plus = part(parts({ signDisplay: 'always' }, 1), 'plusSign') || '+';
  const zero = new Intl.NumberFormat(locale).format(0).codePointAt(0);
  const texts = [part(grouped, 'decimal') || '.', part(grouped, 'group') || ',',
                 part(grouped, 'minusSign') || '-', plus];
  const length = write(texts.join('\x1F'));
  wasm.start(sizes[0] || 3, sizes[1] || sizes[0] || 3, sizes[1] || sizes[0] || 3, zero, length);
  return texts[0];
}

// Places in hundredths of the window's width: the same on every control, whatever its font.
let wide = 1;
const at = (twips) => `${(twips * 100) / wide}cqw`;

function place(element, c) {
  element.id = c.name;
  element.classList.add('control');
  Object.assign(element.style, { left: at(c.left), top: at(c.top), width: at(c.width),
                                 height: at(c.height) });
  if (c.colour >= 0) coloured.set(element, c.colour);
  frame.append(element);
  return element;
}

// One control of the table, made of plain HTML.
function create(c, byName) {
  const make = (tag, props) => Object.assign(document.createElement(tag), props);
  if (c.kind === 'textbox') {
    const box = place(make('input', { type: 'text', value: c.text, readOnly: !!c.readOnly,
                                      autocomplete: 'off', spellcheck: false }), c);
    if (!c.readOnly) box.inputMode = 'decimal';
    const unit = frame.appendChild(make('span', { id: `${c.name}-unit`, hidden: true,
                                                  textContent: c.description }));
    box.setAttribute('aria-describedby', unit.id);
    boxes[c.input >= 0 ? c.input : 4] = box;
  } else if (c.kind === 'label') {
    const caption = Object.values(byName).find((b) => b.caption === c.name);
    place(make(caption ? 'label' : 'span', { textContent: c.text }), c);
    if (caption) frame.lastChild.htmlFor = caption.name;
  } else if (c.kind === 'checkbox') {
    const label = place(make('label', { className: 'check' }), c);
    label.id = `${c.name}-label`;
    label.append(make('input', { type: 'checkbox', id: c.name, checked: !!c.checked }), c.text);
  } else if (c.kind === 'button') {
    const key = c.text[c.text.indexOf('&') + 1];
    const button = place(make('button', { type: 'button' }), c);
    accessKey = key.toLowerCase();
    button.setAttribute('aria-keyshortcuts', `Alt+${key.toUpperCase()}`);
    const [before, after] = c.text.split(`&${key}`);
    button.append(before, make('u', { textContent: key }), after);
  } else if (c.kind === 'line') {
    place(make('div', { className: 'line' }), { ...c, width: c.x2 - c.left, height: 0 });
  } else if (c.resource.endsWith('logo.svg')) {
    place(make('img', { src: 'logo.svg', alt: c.accessibleName, className: 'picture' }), c);
  } else {
    const formula = place(make('div', { className: 'picture formula ruled' }), c);
    formula.setAttribute('role', 'img');
    formula.setAttribute('aria-label', c.accessibleName);
  }
}

// The shared colour rule on the page's own colours, in any scheme.
function paint() {
  const word = (css) => { const [r, g, b] = css.match(/\d+/g).map(Number); return r | g << 8 | b << 16; };
  const css = (w) => `rgb(${w & 255} ${(w >> 8) & 255} ${(w >> 16) & 255})`;
  const face = word(getComputedStyle(frame).backgroundColor);
  const field = word(getComputedStyle(boxes[0]).backgroundColor);
  for (const [element, colour] of coloured) {
    element.classList.add('ruled');
    const behind = element.tagName === 'INPUT' ? field : face;
    element.style.color = css(wasm.legible(colour, behind, face, field));
  }
  const formula = document.getElementById('Image1');
  const text = word(getComputedStyle(frame).color);
  formula.style.backgroundColor = css(wasm.formula_ink(face, field, text, 1));
  formula.style.setProperty('--ink', css(wasm.formula_ink(face, field, text, 0)));
}

// Alt with the letter (and Shift, as Firefox has it; Control-Option on a Mac), by its place
// where the layout types no Latin letter there; never AltGr, which types characters.
function accessKeyPressed(e) {
  const latin = /^[a-z]$/i.test(e.key) ? e.key.toLowerCase() : '';
  const letter = latin || (e.code === `Key${accessKey.toUpperCase()}` ? accessKey : '');
  return letter === accessKey && e.altKey && !e.metaKey && !e.getModifierState('AltGraph');
}

function listen(decimal) {
  boxes.forEach((box, input) => {
    box.addEventListener('dblclick', () => box.select());
    if (input === 4) {
      box.addEventListener('click', () => box.select());
      box.addEventListener('copy', (e) => { e.clipboardData.setData('text/plain', box.value); e.preventDefault(); });
      return;
    }
    box.addEventListener('input', () => wasm.text_changed(input));
    box.addEventListener('drop', () => wasm.text_arriving(input));
    box.addEventListener('keydown', (e) => {
      if (e.key === 'Enter' || e.key === 'Escape') e.preventDefault();  // no default button
      if (e.key === 'Enter') wasm.enter_typed(input);
      if (e.code === 'NumpadDecimal' && !e.ctrlKey && !e.altKey) {
        e.preventDefault();  // the user's decimal separator, as spreadsheets do
        box.setRangeText(decimal, box.selectionStart, box.selectionEnd, 'end');
        wasm.text_changed(input);
      }
    });
    box.addEventListener('focusout', (e) => {
      // To another control of the page: not to another tab or window, nor the page's own move.
      if (e.relatedTarget && frame.contains(e.relatedTarget) && !wasm.moving_focus()) wasm.focus_left(input);
    });
  });
  document.getElementById('LiveCalc').addEventListener('change', () => wasm.live_calc_clicked());
  const button = document.getElementById('Command1');
  button.addEventListener('click', () => wasm.calculate_pressed());
  // The access key in script: a browser's own may move the focus twice, and take it from the
  // refused box that took it back.
  addEventListener('keydown', (e) => {
    if (!accessKeyPressed(e)) return;
    e.preventDefault();
    button.focus();  // the box is left first, as on a click
    button.click();
  }, true);
  // A click on the window's face leaves the focus where it is, as on a desktop window. One on
  // the button or the check box gives it the focus here, where Safari would give none, so that
  // the box it leaves reacts before the control acts (and may take the focus back).
  frame.addEventListener('mousedown', (e) => {
    const target = e.target.closest('label') ? e.target.closest('label').control : e.target;
    const control = target && target.closest('button, input[type=checkbox]');
    if (control || e.target === frame) e.preventDefault();
    if (control && control !== document.activeElement) control.focus();
  });
  addEventListener('pointerdown', () => { pointerDown = true; }, true);
  addEventListener('click', () => { pointerDown = false; setTimeout(deliver); });
  addEventListener('pointerup', () => setTimeout(() => { pointerDown = false; deliver(); }));
  for (const query of ['(prefers-color-scheme: dark)', '(forced-colors: active)'])
    matchMedia(query).addEventListener('change', paint);
}

async function main() {
  if (typeof WebAssembly !== 'object') throw new Error('no WebAssembly');
  // The C library's stdio is linked in but never writes: its calls find no file.
  const wasi = { fd_close: () => 8, fd_seek: () => 8, fd_write: () => 8 };
  const imports = { page, wasi_snapshot_preview1: wasi };
  const { instance } = await WebAssembly.instantiateStreaming(fetch('quorvane.wasm'), imports);
  wasm = instance.exports;
  memory = wasm.memory;
  wasm._initialize();
  // The browser's languages that are language tags: WebKitGTK passes the POSIX locale "C" on.
  const tags = (navigator.languages || []).filter((tag) => {
    try { return Intl.getCanonicalLocales(tag).length > 0; } catch { return false; }
  });
  const decimal = startIn(tags);
  const length = wasm.table();
  const table = JSON.parse(read(wasm.exchange(0), length));
  document.title = table.title;
  wide = table.width;
  frame.style.setProperty('--wide', table.width / 180);  // 180 twips an em
  frame.style.setProperty('--high', table.height / 180);
  const byName = Object.fromEntries(table.controls.map((c) => [c.name, c]));
  table.controls.forEach((c) => create(c, byName));
  frame.hidden = false;
  paint();
  listen(decimal);
  document.getElementById(table.controls[0].name).focus();  // the first of the order
  wasm.load();
  if ('serviceWorker' in navigator) navigator.serviceWorker.register('sw.js');
}

// On bad ground one plain sentence says what is missing, instead of a dead form.
main().catch((error) => {
  frame.hidden = true;
  document.getElementById('missing').hidden = false;
  console.error(error);
});
