// The page's front end: it makes the elements the driver asks for, draws the diagrams' pixels,
// and reports what the browser saw. Everything the windows show and do is the module's; see
// korvane_web.cpp for the calls.

const TwipsPerPixel = 15;
const Kind = ['Label', 'AutoLabel', 'TextBox', 'DropDown', 'List', 'Button', 'Option',
  'CheckBox', 'VScrollBar', 'PictureBox', 'Diagram', 'Image'];
const Roles = ['', '--window', '--window-text', '--highlight', '--active-border'];
// ScrollRequest, in the module's order.
const Scroll = { LineUp: 0, LineDown: 1, PageUp: 2, PageDown: 3, Released: 4, Top: 6, Bottom: 7 };
const ScrollKeys = { ArrowUp: 0, ArrowDown: 1, PageUp: 2, PageDown: 3, Home: 6, End: 7 };
// Answers, in the module's order.
const Done = 0, Chosen = 1, Cancelled = 2, Failed = 3;

let k; // the module's exports
const windows = [];
const utf16 = new TextDecoder('utf-16le');
let zTop = 1;

const text = (ptr, length) => utf16.decode(new Uint8Array(k.memory.buffer, ptr, length * 2));
const json = (ptr, length) => JSON.parse(text(ptr, length));
const bytes = (ptr, size) => new Uint8Array(k.memory.buffer, ptr, size).slice();
const px = (twips) => `${twips / TwipsPerPixel}px`;
const make = (tag, props = {}, parent = null) => {
  const e = Object.assign(document.createElement(tag), props);
  if (parent) parent.append(e);
  return e;
};

// A string into the module's inbox: its length.
function inbox(s) {
  const at = new Uint16Array(k.memory.buffer, k.kv_inbox(s.length), s.length);
  for (let i = 0; i < s.length; ++i) at[i] = s.charCodeAt(i);
  return s.length;
}
const outbox = (length) => JSON.parse(text(k.kv_outbox(), length));

function fontOf(points, faces) {
  return `${(points * 96) / 72}px ${faces.map((f) => `"${f}"`).join(', ')}, sans-serif`;
}

function rgbOf(colour) {
  const m = /(\d+), (\d+), (\d+)/.exec(colour);
  return m ? (m[1] << 16) | (m[2] << 8) | m[3] : 0;
}
const cssColour = (name) => {
  const probe = make('div', {}, document.body);
  probe.style.color = `var(${name})`;
  const rgb = rgbOf(getComputedStyle(probe).color);
  probe.remove();
  return rgb;
};

// One window of the module's, in a frame of its own.
class Frame {
  constructor(id, desc) {
    Object.assign(this, { id, desc, controls: new Map(), panels: [], last: null });
    const el = make('section', { className: 'window', id: desc.name, hidden: true, tabIndex: -1 });
    this.el = el;
    el.style.left = el.style.top = `${8 + 40 * id}px`;
    el.setAttribute('aria-label', desc.caption);
    el.style.font = fontOf(desc.points, desc.faces);
    this.font = el.style.font;
    const bar = make('header', { className: 'titlebar' }, el);
    make('span', { className: 'caption', textContent: desc.caption }, bar);
    if (desc.owner >= 0) {
      el.dataset.owner = windows[desc.owner].desc.name;
      make('button', { className: 'close', tabIndex: -1, ariaLabel: 'close' }, bar).onclick = () => {
        if (k.kv_closing(id)) this.show(false);
      };
    }
    dragBy(bar, el);
    const client = make('div', { className: 'client' }, el);
    this.client = client;
    client.style.width = px(desc.width);
    client.style.height = px(desc.height);
    let area = client;
    if (desc.tabs.length > 1 || desc.tabStrip) {
      const [x, y, w, h] = desc.tabStripRect;
      const strip = make('div', { className: 'tabstrip' }, client);
      Object.assign(strip.style, { left: px(x), top: px(y), width: px(w), height: px(h) });
      this.tablist = make('div', { id: desc.tabStrip, role: 'tablist' }, strip);
      this.tabs = desc.tabs.map((caption, i) => {
        const tab = make('button', { role: 'tab', textContent: caption, tabIndex: -1 }, this.tablist);
        tab.onclick = () => k.kv_tab(id, i);
        return tab;
      });
      this.tablist.onkeydown = (e) => {
        const step = { ArrowLeft: -1, ArrowRight: 1 }[e.key];
        const at = this.tabs.findIndex((t) => t.ariaSelected === 'true');
        if (step && this.tabs[at + step]) {
          e.preventDefault();
          k.kv_tab(id, at + step);
        }
      };
      area = make('div', { className: 'pane' }, strip);
    } else {
      client.classList.add('sized');
      new ResizeObserver(() => {
        if (!el.hidden)
          k.kv_resized(id, client.clientWidth * TwipsPerPixel, client.clientHeight * TwipsPerPixel);
      }).observe(client);
    }
    for (let i = 0; i < desc.tabs.length; ++i) {
      const panel = make('div', { className: 'panel' }, area);
      panel.dataset.name = desc.panelArray;
      panel.dataset.index = i;
      this.panels.push(panel);
    }
    el.addEventListener('pointerdown', () => activate(this), true);
    el.addEventListener('focusin', (e) => {
      activate(this);
      this.last = e.target;
    });
    el.addEventListener('keydown', (e) => this.key(e), true);
    document.getElementById('desk').append(el);
  }

  // The window's font at a size of `pixels`.
  fontAt(pixels) {
    return this.font.replace(/^[\d.]+px/, `${pixels}px`);
  }

  control(panel, index) {
    return panel < 0 ? this.tablist : this.controls.get(`${panel}:${index}`);
  }

  create(c) {
    const kind = Kind[c.kind];
    const panel = this.panels[c.panel];
    const report = () => k.kv_activated(this.id, c.panel, c.index);
    let e, box;
    switch (kind) {
      case 'Label': case 'AutoLabel':
        e = make('div', { className: 'label', textContent: c.text }, panel);
        if (kind === 'AutoLabel') e.classList.add('auto');
        break;
      case 'TextBox': case 'DropDown':
        e = make('input', { type: 'text', value: c.text, spellcheck: false, autocomplete: 'off' });
        e.oninput = report;
        if (kind === 'DropDown') {
          box = make('span', { className: 'combo' }, panel);
          box.append(e);
          e.setAttribute('role', 'combobox');
          const items = make('select', { className: 'items', tabIndex: -1 }, box);
          items.dataset.for = c.name;
          items.append(...c.items.map((t) => new Option(t)));
          items.selectedIndex = -1;
          items.onchange = () => {
            e.value = items.value;
            items.selectedIndex = -1;
            e.focus();
            e.select();
            report();
          };
        } else panel.append(e);
        break;
      case 'List':
        e = make('select', {}, panel);
        e.append(...c.items.map((t) => new Option(t)));
        e.onchange = report;
        break;
      case 'Button':
        e = make('button', {}, panel);
        this.caption(e, c.text, c.accessKey);
        e.onclick = report;
        break;
      case 'Option': case 'CheckBox':
        box = make('span', { className: 'choice' }, panel);
        e = make('input', { type: kind === 'Option' ? 'radio' : 'checkbox' }, box);
        make('label', { htmlFor: c.name, textContent: c.text }, box);
        e.onclick = report;
        break;
      case 'VScrollBar':
        e = scrollBar(this, c, panel);
        break;
      case 'PictureBox':
        e = make('div', { className: 'picture' }, panel);
        break;
      case 'Diagram':
        e = make('canvas', { className: 'diagram' }, panel);
        break;
      case 'Image':
        e = make('img', { className: 'image', alt: '', src: Pictures[c.text] ?? '' }, panel);
        break;
    }
    e.id = c.name;
    // What takes no focus is passed over by Tab; what the browser would focus on a click too.
    if (!c.focus && e.matches('input, select, button')) e.tabIndex = -1;
    if (!c.namedByText && c.spoken) e.ariaLabel = c.spoken;
    if (c.description) e.setAttribute('aria-description', c.description);
    if (c.background) e.style.background = c.background;
    if (c.foreground) e.style.color = c.foreground;
    if (c.points) e.style.font = fontOf(c.points, c.faces);
    e.oncontextmenu = (ev) => this.menu(ev, c);
    longPress(e, (ev) => this.menu(ev, c));
    Object.assign(e, { ref: c, box: box ?? e });
    this.controls.set(`${c.panel}:${c.index}`, e);
    this.place(c.panel, c.index, ...c.rect);
  }

  caption(button, caption, key) {
    const at = key ? caption.toUpperCase().indexOf(key.toUpperCase()) : -1;
    button.textContent = '';
    if (at < 0) return button.append(caption);
    button.append(caption.slice(0, at), make('u', { textContent: caption[at] }), caption.slice(at + 1));
  }

  place(panel, index, x, y, w, h) {
    const e = this.control(panel, index);
    const s = e.box.style;
    Object.assign(s, { left: px(x), top: px(y), width: px(w), height: px(h) });
    if (e.classList.contains('auto')) s.width = s.height = '';
    // A diagram's pixels set its canvas's size; its place stays the driver's, for tools.
    if (e.tagName === 'CANVAS') {
      Object.assign(e.dataset, { width: w, height: h });
      this.paint(e);
    }
  }

  paint(canvas) {
    const { panel, index } = canvas.ref;
    const dpr = devicePixelRatio;
    const style = getComputedStyle(canvas);
    const ptr = k.kv_paint(this.id, panel, index, Math.round(96 * dpr), rgbOf(style.backgroundColor),
      rgbOf(style.color), cssColour('--highlight'));
    const w = k.kv_paint_width(), h = k.kv_paint_height();
    if (!w || !h) return;
    Object.assign(canvas, { width: w, height: h });
    align(canvas);
    const image = new ImageData(new Uint8ClampedArray(k.memory.buffer, ptr, w * h * 4).slice(), w, h);
    canvas.getContext('2d').putImageData(image, 0, 0);
  }

  // A key, before the control with the focus has it.
  key(e) {
    if (e.isComposing || document.querySelector('dialog[open]')) return;
    const letter = /^Key([A-Z])$/.exec(e.code);
    const kind = e.key === 'Tab' ? 0 : letter ? 1 : 2;
    if (k.kv_key(this.id, kind, letter ? letter[1].charCodeAt(0) : 0, e.shiftKey, e.ctrlKey, e.altKey)) {
      e.preventDefault();
      e.stopPropagation();
    }
  }

  menu(ev, c) {
    const entries = outbox(k.kv_menu(this.id, c.panel, c.index));
    if (!entries.length) return;
    ev.preventDefault();
    closeMenu();
    const menu = make('div', { className: 'menu', role: 'menu' }, document.body);
    for (const [panel, index, id, caption, shortcut, enabled] of entries) {
      const item = make('div', { role: 'menuitem' }, menu);
      item.dataset.command = id;
      make('span', { textContent: caption }, item);
      make('span', { className: 'shortcut', textContent: shortcut }, item);
      if (!enabled) item.ariaDisabled = 'true';
      else item.onclick = () => { closeMenu(); k.kv_run(this.id, panel, index); };
    }
    // The focus stays where it was: the menu takes none.
    menu.onpointerdown = (e) => e.preventDefault();
    Object.assign(menu.style, { left: `${ev.clientX}px`, top: `${ev.clientY}px`, zIndex: ++zTop });
  }

  show(shown) {
    this.el.hidden = !shown;
    if (!shown) return active === this && activate(null);
    this.el.style.zIndex = ++zTop;
    activate(this);
    // A window shown takes the keys, as a toolkit's does, where nothing of its own had them.
    if (!this.el.contains(document.activeElement)) this.el.focus();
  }
}

// Layout keeps places and sizes in 64ths of a CSS pixel, which at a ratio of 1.25 or 1.5 fall
// between device pixels: a canvas is moved and stretched by a transform, which is exact, so
// that each of its pixels covers one device pixel whole.
function align(canvas) {
  const dpr = devicePixelRatio;
  canvas.style.width = `${canvas.width / dpr}px`;
  canvas.style.height = `${canvas.height / dpr}px`;
  canvas.style.transform = '';
  const box = canvas.getBoundingClientRect();
  const dx = Math.round(box.left * dpr) / dpr - box.left;
  const dy = Math.round(box.top * dpr) / dpr - box.top;
  const sx = canvas.width / dpr / box.width, sy = canvas.height / dpr / box.height;
  if (dx || dy || sx !== 1 || sy !== 1)
    canvas.style.transform = `translate(${dx}px, ${dy}px) scale(${sx}, ${sy})`;
}

let active = null;
function activate(frame) {
  if (frame === active) return;
  const was = active;
  active = frame;
  if (was) {
    was.el.classList.remove('active');
    k.kv_window_activated(was.id, 0);
  }
  if (frame) {
    frame.el.classList.add('active');
    frame.el.style.zIndex = ++zTop;
    k.kv_window_activated(frame.id, 1);
  }
}

// A window moved by its title bar.
function dragBy(bar, el) {
  bar.onpointerdown = (e) => {
    if (e.target !== bar && !e.target.classList.contains('caption')) return;
    const x = e.clientX - el.offsetLeft, y = e.clientY - el.offsetTop;
    bar.setPointerCapture(e.pointerId);
    bar.onpointermove = (m) => {
      el.style.left = `${Math.max(0, m.clientX - x)}px`;
      el.style.top = `${Math.max(0, m.clientY - y)}px`;
    };
    bar.onpointerup = () => {
      bar.onpointermove = null;
      el.querySelectorAll('canvas').forEach(align);
    };
  };
}

// A touch held still for half a second opens the context menu, as a right click does.
function longPress(e, open) {
  let timer;
  e.addEventListener('pointerdown', (p) => {
    if (p.pointerType !== 'touch') return;
    timer = setTimeout(() => open(p), 500);
  });
  for (const end of ['pointerup', 'pointermove', 'pointercancel'])
    e.addEventListener(end, () => clearTimeout(timer));
}

function closeMenu() {
  document.querySelector('.menu')?.remove();
}
addEventListener('pointerdown', (e) => e.target.closest('.menu') || closeMenu(), true);
addEventListener('keydown', (e) => {
  if (e.key === 'Escape') closeMenu();
  // Keys that reach no window, the focus gone with a closed dialog, are the active window's.
  else if (active && !e.target.closest?.('.window, dialog')) active.key(e);
});

// A vertical scroll bar, minimum at the top; its value moves as the module says.
function scrollBar(frame, c, panel) {
  const [min, max] = c.scroll;
  const bar = make('div', { className: 'scrollbar', role: 'scrollbar', tabIndex: 0 }, panel);
  bar.ariaOrientation = 'vertical';
  Object.assign(bar, { ariaValueMin: min, ariaValueMax: max, ariaValueNow: min });
  const up = make('div', { className: 'up' }, bar);
  const track = make('div', { className: 'track' }, bar);
  const thumb = make('div', { className: 'thumb' }, track);
  make('div', { className: 'down' }, bar);
  const ask = (request, at = 0) => k.kv_scroll(frame.id, c.panel, c.index, request, at);
  const room = () => track.clientHeight - thumb.offsetHeight;
  bar.value = min;
  bar.show = (value) => {
    bar.value = value;
    bar.ariaValueNow = value;
    thumb.style.top = `calc((100% - var(--thumb)) * ${max > min ? (value - min) / (max - min) : 0})`;
  };
  bar.onpointerdown = (e) => {
    if (e.button !== 0) return;
    e.preventDefault();
    bar.focus();
    if (e.target === thumb) {
      const from = e.clientY - thumb.offsetTop;
      let top = thumb.offsetTop;
      thumb.setPointerCapture(e.pointerId);
      thumb.onpointermove = (m) => {
        top = Math.min(Math.max(m.clientY - from, 0), room());
        thumb.style.top = `${top}px`;
      };
      thumb.onpointerup = () => {
        thumb.onpointermove = thumb.onpointerup = null;
        const value = room() > 0 ? Math.round(min + (top / room()) * (max - min)) : min;
        ask(Scroll.Released, value);
        bar.show(bar.value);
      };
    } else if (e.target === up) ask(Scroll.LineUp);
    else if (e.target === track) ask(e.offsetY < thumb.offsetTop ? Scroll.PageUp : Scroll.PageDown);
    else ask(Scroll.LineDown);
  };
  bar.onkeydown = (e) => {
    if (e.key in ScrollKeys) {
      e.preventDefault();
      ask(ScrollKeys[e.key]);
    }
  };
  return bar;
}

// A request of the driver's open until its answer: the window says so, for tools.
function ask(frame) {
  frame.el.dataset.waiting = '';
}
function answer(frame, kind, type = 0) {
  delete frame.el.dataset.waiting;
  k.kv_answer(frame.id, kind, type);
}

// A modal dialog answered as it closes, before any key can reach what is under it.
function modal(dialog, answered) {
  const close = (e) => {
    e.preventDefault();
    dialog.onsubmit = dialog.oncancel = null;
    dialog.close(e.type === 'cancel' ? '' : e.submitter?.value ?? '');
    answered(dialog.returnValue);
  };
  dialog.onsubmit = dialog.oncancel = close;
  dialog.showModal();
}

// The error box and the save dialog.
function errorBox(frame, box) {
  const dialog = document.getElementById('errorbox');
  dialog.querySelector('.title').textContent = box.title;
  dialog.querySelector('.message').textContent = box.message;
  const ok = dialog.querySelector('button');
  ok.textContent = box.ok;
  ask(frame);
  modal(dialog, () => answer(frame, Done));
  ok.focus();
}

function saveBox(frame, box) {
  const dialog = document.getElementById('savebox');
  dialog.querySelector('.title').textContent = box.title;
  const name = dialog.querySelector('.name');
  const type = dialog.querySelector('.type');
  name.value = box.name;
  type.replaceChildren(...box.types.map((t) => new Option(t)));
  type.selectedIndex = box.type;
  dialog.querySelector('.ok').textContent = box.save;
  dialog.querySelector('.cancel').textContent = box.cancel;
  ask(frame);
  modal(dialog, (button) => {
    const chosen = button === 'ok' && name.value.trim() !== '';
    if (chosen) inbox(name.value);
    answer(frame, chosen ? Chosen : Cancelled, type.selectedIndex);
  });
  name.focus();
  name.setSelectionRange(0, name.value.replace(/\.[^.]*$/, '').length);
}

// A document's picture: the sheet's pixels, and its text written below in the window's font.
function picture(frame, p, rgba) {
  const canvas = make('canvas', { width: p.width, height: p.height });
  const g = canvas.getContext('2d');
  g.fillStyle = '#fff';
  g.fillRect(0, 0, p.width, p.height);
  if (p.sheetWidth && p.sheetHeight)
    g.putImageData(new ImageData(new Uint8ClampedArray(rgba), p.sheetWidth, p.sheetHeight), 0, 0);
  g.fillStyle = '#000';
  g.textBaseline = 'top';
  g.font = frame.fontAt(p.font);
  for (const [left, top, line] of p.lines) g.fillText(line, left, top);
  return new Promise((done) => canvas.toBlob(done, 'image/png'));
}

function download(name, blob) {
  const a = make('a', { href: URL.createObjectURL(blob), download: name }, document.body);
  a.click();
  a.remove();
  setTimeout(() => URL.revokeObjectURL(a.href), 1000);
}

const measure = document.createElement('canvas').getContext('2d');
const frameOf = (win) => windows[win];
const at = (win, p, i) => frameOf(win).control(p, i);

const imports = {
  window(win, ptr, len) {
    windows[win] = new Frame(win, json(ptr, len));
  },
  create: (win, ptr, len) => frameOf(win).create(json(ptr, len)),
  link(win, lp, li, p, i) {
    const label = at(win, lp, li), e = at(win, p, i);
    if (!e.ref.namedByText) e.setAttribute('aria-labelledby', label.id);
  },
  place: (win, p, i, x, y, w, h) => frameOf(win).place(p, i, x, y, w, h),
  read_text: (win, p, i) => inbox(at(win, p, i).value),
  read_value(win, p, i) {
    const e = at(win, p, i);
    return e.type === 'checkbox' ? +e.checked : e.value;
  },
  focus(win) {
    const frame = frameOf(win);
    let e = frame.el.contains(document.activeElement) ? document.activeElement : frame.last;
    if (e?.role === 'tab') return 0;
    e = e?.closest('[id]');
    return e?.ref ? (e.ref.panel + 1) * 65536 + e.ref.index : -1;
  },
  set_text(win, p, i, ptr, len) {
    at(win, p, i).value = text(ptr, len);
  },
  pick(win, p, i, item) {
    at(win, p, i).selectedIndex = item;
  },
  set_caption(win, p, i, ptr, len) {
    at(win, p, i).textContent = text(ptr, len);
  },
  caption_size(win, p, i) {
    const e = at(win, p, i);
    return Math.ceil(e.offsetWidth) * 65536 + Math.ceil(e.offsetHeight);
  },
  set_background(win, p, i, role, rgb) {
    at(win, p, i).style.background = role === 5 ? `#${rgb.toString(16).padStart(6, '0')}` : role ? `var(${Roles[role]})` : '';
  },
  set_option(win, p, i, enabled, chosen) {
    Object.assign(at(win, p, i), { disabled: !enabled, checked: !!chosen });
  },
  set_value: (win, p, i, value) => at(win, p, i).show(value),
  set_tooltip(win, p, i, ptr, len) {
    at(win, p, i).title = text(ptr, len);
  },
  draw(win, p, i) {
    const frame = frameOf(win);
    frame.paint(frame.control(p, i));
  },
  front(win, panel) {
    const frame = frameOf(win);
    frame.panels.forEach((e, i) => e.classList.toggle('front', i === panel));
    frame.tabs?.forEach((t, i) => {
      t.ariaSelected = `${i === panel}`;
      t.tabIndex = i === panel ? 0 : -1;
    });
  },
  set_focus(win, p, i, byTab, selectAll) {
    const frame = frameOf(win);
    activate(frame);
    const e = p < 0 ? frame.tabs.find((t) => t.tabIndex === 0) : frame.control(p, i);
    e.focus();
    if (selectAll && e.select) e.select();
  },
  show_error: (win, ptr, len) => errorBox(frameOf(win), json(ptr, len)),
  commands_changed() {},
  show_window: (win, shown) => frameOf(win).show(!!shown),
  text_width(win, ptr, len, pixels) {
    measure.font = frameOf(win).fontAt(pixels);
    return measure.measureText(text(ptr, len)).width;
  },
  copy(win, ptr, len, rgba, size) {
    const p = json(ptr, len);
    const item = new ClipboardItem({
      'image/png': picture(frameOf(win), p, bytes(rgba, size)),
      'text/plain': new Blob([p.text], { type: 'text/plain' }),
    });
    const frame = frameOf(win);
    ask(frame);
    navigator.clipboard.write([item]).then(() => answer(frame, Done),
      (e) => { inbox(e.message || e.name); answer(frame, Failed); });
  },
  ask_save: (win, ptr, len) => saveBox(frameOf(win), json(ptr, len)),
  download(win, ptr, len, data, size) {
    const file = json(ptr, len);
    if (file.type === 'image/png')
      picture(frameOf(win), file, bytes(data, size)).then((blob) => download(file.name, blob));
    else download(file.name, new Blob([bytes(data, size)], { type: file.type }));
  },
  print(win, ptr, len) {
    const page = json(ptr, len);
    document.getElementById('printout').innerHTML = page.svg;
    document.getElementById('pagesize').textContent =
      `@page { size: ${page.width}mm ${page.height}mm; margin: 0 }`;
    const title = document.title;
    document.title = page.job;
    const frame = frameOf(win);
    ask(frame);
    // The dialog holds the page until it is closed; the driver hears of it once this request
    // has returned.
    print();
    document.title = title;
    setTimeout(() => answer(frame, Done));
  },
  read_settings(ptr, len) {
    const bytes = localStorage.getItem(`korvane:${text(ptr, len)}`);
    return bytes === null ? -1 : inbox(bytes);
  },
  write_settings(ptr, len, data, size) {
    try {
      localStorage.setItem(`korvane:${text(ptr, len)}`, text(data, size));
      return 0;
    } catch (e) {
      return inbox(e.message || e.name || 'QuotaExceededError');
    }
  },
};

// The window scaled down to a screen narrower than it, its layout unchanged.
function fit() {
  const main = windows[0]?.el;
  if (!main) return;
  // A phone lays the page out wider than its screen where the window would overflow it.
  const room = Math.min(innerWidth, screen.availWidth) - 2 * main.offsetLeft;
  const scale = Math.min(1, room / main.offsetWidth);
  main.style.transform = scale < 1 ? `scale(${scale})` : '';
}

// Diagrams drawn anew at a new pixel ratio.
function watchRatio() {
  matchMedia(`(resolution: ${devicePixelRatio}dppx)`).addEventListener('change', () => {
    for (const frame of windows)
      for (const e of frame.controls.values()) if (e.tagName === 'CANVAS') frame.paint(e);
    watchRatio();
  }, { once: true });
}

async function start(module) {
  const instance = await WebAssembly.instantiate(await module, { korvane: imports });
  k = instance.exports;
  k._initialize();
  const main = k.kv_main();
  document.title = windows[main].desc.caption;
  windows[main].show(true);
  addEventListener('resize', fit);
  fit();
  watchRatio();
  await new Promise(requestAnimationFrame);
}

window.korvane = { ready: start(Module) };
