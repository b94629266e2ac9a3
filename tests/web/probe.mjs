// The page's windows as the window checks probe them (tests/web/pagetest.h): one request a
// line on standard input, one answer a line on standard output, both JSON. Each request is
// carried out on the page in headless Chromium with real input, as a user's: clicks and
// drags with the mouse, keys and typing with the keyboard, a paste as one insertion of text.
// After an action, every error box it asked is read and answered with OK, by a click.
//
//   node probe.mjs [page]      (the page: KORVANE_WEB_PAGE, else build-web/korvane.html)
import { createInterface } from 'node:readline';
import { execFileSync } from 'node:child_process';
import { mkdtempSync, readFileSync, rmSync, writeFileSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import { Viewport, decodePng, launch, load, pageFile, pageUrl, rgbBase64 } from './browser.mjs';

const url = pageUrl(pageFile(process.argv[2]));
// The pixel ratio a restarted page has: 1, or KORVANE_WEB_SCALE (1.25, 1.5).
const baseScale = Number(process.env.KORVANE_WEB_SCALE || 1);
const OpTimeoutMs = 30_000;

// What runs in the page before its own script: the time each error box opens, and what the
// requests read there.
function inPage() {
    const P = {
        boxOpened: 0,
        printed: 0,
        setItem: Storage.prototype.setItem,
    };
    new MutationObserver((records) => {
        for (const r of records)
            if (r.target.id === 'errorbox' && r.target.open)
                P.boxOpened = performance.timeOrigin + performance.now();
    }).observe(document, { subtree: true, attributes: true, attributeFilter: ['open'] });

    P.win = (name) => document.querySelector(`section.window#${CSS.escape(name)}`);
    P.el = (win, name) => P.win(win)?.querySelector(`#${CSS.escape(name)}`) ?? null;
    P.rgb = (css) => {
        const parts = (css.match(/rgba?\(([^)]*)\)/)?.[1] ?? '').split(/[\s,/]+/).map(Number);
        return parts.length >= 3 ? (parts[0] << 16) | (parts[1] << 8) | parts[2] : -1;
    };
    P.isPicture = (el) => el.classList.contains('picture');
    P.shown = (el) => {
        const s = { text: '', value: 0, enabled: true, selected: '', background: 0 };
        s.enabled = !el.matches(':disabled') && el.getAttribute('aria-disabled') !== 'true' &&
            !el.closest('[inert]');
        if (el.tagName === 'INPUT' && (el.type === 'radio' || el.type === 'checkbox')) {
            s.value = el.checked ? 1 : 0;
            s.text = el.labels?.[0]?.textContent ?? '';
        } else if (el.tagName === 'INPUT') {
            s.text = el.value;
            if (el.selectionStart !== null)
                s.selected = el.value.slice(el.selectionStart, el.selectionEnd);
        } else if (el.tagName === 'SELECT') {
            s.text = el.selectedIndex >= 0 ? el.options[el.selectedIndex].textContent : '';
        } else if (el.getAttribute('role') === 'scrollbar') {
            s.value = Number(el.getAttribute('aria-valuenow'));
        } else if (el.tagName !== 'CANVAS' && el.tagName !== 'IMG' && !P.isPicture(el)) {
            s.text = el.textContent;
        }
        if (P.isPicture(el))
            s.background = P.rgb(getComputedStyle(el).backgroundColor);
        return s;
    };
    // The control with the focus: a tab stands for its tab strip, a drop-down's list for its box.
    P.focused = () => {
        const a = document.activeElement;
        const win = a?.closest('section.window');
        if (!a || !win || a === win)
            return '';
        const strip = a.closest('[role=tablist]');
        return strip ? strip.id : a.dataset.for || a.id;
    };
    P.panels = () => [...(P.win('main')?.querySelectorAll('.panel[data-index]') ?? [])];
    // The panel uppermost at the middle of the first one.
    P.front = () => {
        const first = P.panels().find((p) => p.dataset.index === '0');
        if (!first)
            return -1;
        const r = first.getBoundingClientRect();
        for (const e of document.elementsFromPoint(r.left + r.width / 2, r.top + r.height / 2)) {
            const panel = e.closest('.panel[data-index]');
            if (panel && P.win('main').contains(panel))
                return Number(panel.dataset.index);
        }
        return -1;
    };
    P.panelsShown = () => P.panels().every((p) =>
        p.checkVisibility({ visibilityProperty: true, opacityProperty: true }) &&
        !p.closest('[inert]') && !p.matches(':disabled'));
    P.windows = () => {
        const all = [...document.querySelectorAll('section.window')].map((w) => ({
            caption: w.getAttribute('aria-label') ?? '',
            shown: !w.hidden && w.checkVisibility(),
            owned: w.dataset.owner === 'main',
        }));
        const box = document.getElementById('errorbox');
        if (box)
            all.push({ caption: box.querySelector('.title')?.textContent ?? '', shown: box.open, owned: true });
        return all;
    };
    P.state = () => {
        const controls = {};
        for (const w of document.querySelectorAll('section.window')) {
            const shown = {};
            for (const el of w.querySelectorAll('[id]'))
                shown[el.id] = P.shown(el);
            controls[w.id] = shown;
        }
        return { controls, windows: P.windows(), focused: P.focused(), front: P.front(),
                 panelsShown: P.panelsShown() };
    };
    // A few tasks' time: what the page queued in answer to the last input has run, a box
    // answered in a timer after its close event too.
    P.idle = async () => {
        for (let hop = 0; hop < 3; ++hop)
            await new Promise((done) => setTimeout(done, 0));
    };
    // The error box open once the page is idle, or null.
    P.openBox = async () => {
        await P.idle();
        const box = document.getElementById('errorbox');
        if (!box?.open)
            return null;
        const at = P.boxOpened || performance.timeOrigin + performance.now();
        P.boxOpened = 0;
        return {
            title: box.querySelector('.title')?.textContent ?? '',
            text: box.querySelector('.message')?.textContent ?? '',
            stopAndOk: Boolean(box.querySelector('.icon.stop')) && box.querySelectorAll('button').length === 1,
            at,
        };
    };
    // Why a click at (x, y) would not reach `el`: what covers it, the other window it is in
    // or the panel behind; empty when it reaches it.
    P.coveredAt = (el, x, y) => {
        const top = document.elementFromPoint(x, y);
        const reaches = (e) => e && (e === el || el.contains(e) ||
            [...(el.labels ?? [])].some((l) => l === e || l.contains(e)));
        if (reaches(top))
            return null;
        const own = el.closest('section.window');
        const over = top?.closest('section.window');
        const panel = el.closest('.panel[data-index]');
        return {
            by: top ? `${top.tagName.toLowerCase()}${top.id ? '#' + top.id : ''}` +
                (over ? ` of ${over.id}` : '') : 'nothing',
            otherWindow: Boolean(over && over !== own) || !over,
            panel: panel && own.id === 'main' && !panel.classList.contains('front')
                ? Number(panel.dataset.index) : -1,
        };
    };
    P.pointOf = (el) => {
        let box = el.getBoundingClientRect();
        if ((box.width === 0 || box.height === 0) && el.labels?.[0])
            box = el.labels[0].getBoundingClientRect();
        return { x: box.left + box.width / 2, y: box.top + box.height / 2, width: box.width, height: box.height };
    };
    // A title bar's point that a click reaches, clear of its buttons.
    P.titleBarPoint = (win) => {
        const bar = P.win(win)?.querySelector('header.titlebar');
        if (!bar)
            return null;
        const r = bar.getBoundingClientRect();
        for (let x = r.left + 6; x < r.right - 6; x += 12) {
            const top = document.elementFromPoint(x, r.top + r.height / 2);
            if (top && bar.contains(top) && !top.closest('button'))
                return { x, y: r.top + r.height / 2 };
        }
        return null;
    };
    P.frame = () => new Promise((done) => requestAnimationFrame(() => setTimeout(done, 0)));
    P.base64 = (bytes) => {
        let binary = '';
        for (let i = 0; i < bytes.length; i += 0x8000)
            binary += String.fromCharCode.apply(null, bytes.subarray(i, i + 0x8000));
        return btoa(binary);
    };
    // A canvas's backing store, as RGB.
    P.backing = async (win, name) => {
        await P.frame();
        const canvas = P.el(win, name);
        const copy = document.createElement('canvas');
        [copy.width, copy.height] = [canvas.width, canvas.height];
        const context = copy.getContext('2d');
        context.drawImage(canvas, 0, 0);
        const rgba = context.getImageData(0, 0, copy.width, copy.height).data;
        const rgb = new Uint8Array(copy.width * copy.height * 3);
        let seeThrough = 0;
        for (let i = 0, j = 0; i < rgba.length; i += 4, j += 3) {
            rgb.set(rgba.subarray(i, i + 3), j);
            seeThrough += rgba[i + 3] !== 255;
        }
        return { width: copy.width, height: copy.height, rgb: P.base64(rgb), seeThrough };
    };
    // Where a canvas's content box is on the page, in CSS pixels, for a screenshot in device
    // pixels.
    P.contentBox = (win, name) => {
        const el = P.el(win, name);
        const r = el.getBoundingClientRect();
        const s = getComputedStyle(el);
        const px = (p) => parseFloat(s[p]) || 0;
        return {
            x: r.left + px('borderLeftWidth') + px('paddingLeft') + scrollX,
            y: r.top + px('borderTopWidth') + px('paddingTop') + scrollY,
            width: el.width / devicePixelRatio,
            height: el.height / devicePixelRatio,
            scale: devicePixelRatio,
        };
    };
    // What an event of the driver reads of each control: a diagram's place in twips.
    P.readings = (win, names) => names.map((name) => {
        const el = P.el(win, name);
        if (!el)
            return null;
        if (el.tagName !== 'CANVAS')
            return P.shown(el);
        // Where the driver placed it, in twips: its canvas takes the size of its pixels.
        return { width: Number(el.dataset.width), height: Number(el.dataset.height) };
    });
    P.colour = (property) => {
        if (!getComputedStyle(document.documentElement).getPropertyValue(property).trim())
            return -1;
        const probe = document.createElement('div');
        probe.style.color = `var(${property})`;
        document.body.append(probe);
        const rgb = P.rgb(getComputedStyle(probe).color);
        probe.remove();
        return rgb;
    };
    Object.defineProperty(window, '__korvaneProbe', { value: P });
}

// A failing localStorage.setItem, on this page and the next ones.
function blockWrites() {
    Storage.prototype.setItem = function () {
        throw new DOMException('The quota has been exceeded.', 'QuotaExceededError');
    };
}

let browser = null;
let page = null;
let cdp = null;
let broken = false;
let mouseHeld = false;
let blockScript = null;
let actionStart = 0;
let boxes = [];
let pageErrors = [];
let downloads = null;

async function start() {
    browser = await launch();
    const session = await browser.target().createCDPSession();
    await session.send('Browser.grantPermissions', {
        permissions: ['clipboardReadWrite', 'clipboardSanitizedWrite'],
    });
    downloads = { folder: mkdtempSync(join(tmpdir(), 'korvane-downloads-')), done: new Map(), session };
    await session.send('Browser.setDownloadBehavior', {
        behavior: 'allow', downloadPath: downloads.folder, eventsEnabled: true,
    });
    session.on('Browser.downloadWillBegin', (e) => downloads.done.set(e.guid, { name: e.suggestedFilename }));
    session.on('Browser.downloadProgress', (e) => {
        const d = downloads.done.get(e.guid);
        if (d && (e.state === 'completed' || e.state === 'canceled'))
            d.state = e.state;
    });
    page = (await browser.pages())[0] ?? (await browser.newPage());
    cdp = await page.createCDPSession();
    page.on('pageerror', (e) => pageErrors.push(`uncaught: ${e.message}`));
    page.on('console', (m) => {
        if (m.type() === 'error')
            pageErrors.push(`console: ${m.text()}`);
    });
    page.on('request', (r) => {
        const asked = r.url();
        if (asked !== url && !/^(data|blob):/.test(asked))
            pageErrors.push(`asked the network for ${asked}`);
    });
    await page.evaluateOnNewDocument(inPage);
    if (blockScript)
        blockScript = (await page.evaluateOnNewDocument(blockWrites)).identifier;
    await page.setViewport({ ...Viewport, deviceScaleFactor: baseScale });
    await load(page, url);
    broken = false;
}

async function stop() {
    const old = browser;
    browser = page = cdp = null;
    if (old)
        await Promise.race([old.close(), new Promise((done) => setTimeout(done, 5000))]).catch(() => {});
    if (old?.process()?.exitCode === null)
        old.process().kill('SIGKILL');
    if (downloads)
        rmSync(downloads.folder, { recursive: true, force: true });
}

const P = (fn, ...args) => page.evaluate(fn, ...args);
const handleOf = (win, name) => page.evaluateHandle((w, n) => __korvaneProbe.el(w, n), win, name);
const elementOf = async (win, name) => {
    const handle = await handleOf(win, name);
    if (!(await handle.evaluate((el) => el !== null)))
        throw new Error(`no #${name} in section#${win}`);
    return handle.asElement();
};

// The window made active as a click on its title bar makes it.
async function activate(win) {
    if (await P((w) => __korvaneProbe.win(w)?.classList.contains('active'), win))
        return;
    const at = await P((w) => __korvaneProbe.titleBarPoint(w), win);
    if (!at)
        throw new Error(`no title bar of ${win} to click`);
    await page.mouse.click(at.x, at.y);
}

// The point where a click reaches `handle`: its window brought forward, and, when
// `byItsTab`, the tab of the panel behind that holds it clicked first, as a user reaches it.
async function reach(win, handle, name, byItsTab) {
    for (let attempt = 0; attempt < 3; ++attempt) {
        const at = await handle.evaluate((el) => __korvaneProbe.pointOf(el));
        if (at.width === 0 || at.height === 0)
            throw new Error(`#${name} of ${win} is not shown`);
        const covered = await handle.evaluate((el, x, y) => __korvaneProbe.coveredAt(el, x, y), at.x, at.y);
        if (!covered)
            return at;
        if (covered.otherWindow && attempt === 0)
            await activate(win);
        else if (byItsTab && covered.panel >= 0)
            await clickTab(covered.panel);
        else
            throw new Error(`a click on #${name} of ${win} reaches ${covered.by}`);
    }
    throw new Error(`#${name} of ${win} cannot be reached`);
}

async function clickTab(tab) {
    const handle = await page.evaluateHandle(
        (i) => __korvaneProbe.win('main')?.querySelectorAll('#TabStrip1 [role=tab]')[i] ?? null, tab);
    if (!(await handle.evaluate((el) => el !== null)))
        throw new Error(`no tab ${tab}`);
    const at = await reach('main', handle.asElement(), `TabStrip1 tab ${tab}`, false);
    await page.mouse.click(at.x, at.y);
}

async function clickControl(win, name, options = {}) {
    const handle = await elementOf(win, name);
    const at = await reach(win, handle, name, true);
    await page.mouse.click(at.x, at.y, options);
}

async function focusControl(win, name) {
    await activate(win);
    const done = await P((w, n) => {
        const el = __korvaneProbe.el(w, n);
        const target = el?.getAttribute('role') === 'tablist'
            ? el.querySelector('[role=tab][aria-selected=true]') : el;
        target?.focus();
        return Boolean(target);
    }, win, name);
    if (!done)
        throw new Error(`no #${name} in section#${win} to focus`);
}

// A character typed: as its key where the keyboard has one, else given as text, as an
// input method gives it. A control character is given as text too: its key (Tab, Enter,
// Backspace) would do what that key does instead of typing it.
async function typeCharacter(ch) {
    const code = ch.codePointAt(0);
    if (code < 0x20 || code === 0x7f)
        await page.keyboard.sendCharacter(ch);
    else
        await page.keyboard.type(ch);
}

const Keys = { Tab: 'Tab', Enter: 'Enter', Up: 'ArrowUp', Down: 'ArrowDown', Left: 'ArrowLeft',
               Right: 'ArrowRight', PageUp: 'PageUp', PageDown: 'PageDown', Home: 'Home', End: 'End' };

async function pressKey({ code, character, shift, control, alt }) {
    if (code === 'Character' && !control && !alt)
        return typeCharacter(character);
    const held = [control && 'Control', alt && 'Alt', shift && 'Shift'].filter(Boolean);
    for (const k of held)
        await page.keyboard.down(k);
    await page.keyboard.press(code === 'Character'
        ? (shift ? character.toUpperCase() : character.toLowerCase()) : Keys[code]);
    for (const k of held.reverse())
        await page.keyboard.up(k);
}

async function selectAll() {
    await page.keyboard.down('Control');
    await page.keyboard.press('a');
    await page.keyboard.up('Control');
}

// A scroll bar: its arrows or its track clicked, or its thumb dragged to `thumb` and let go
// or held. A drag is followed until the bar shows the value wanted.
async function scroll(win, name, request, thumb) {
    const bar = await elementOf(win, name);
    const parts = () => bar.evaluate((el) => {
        const rect = (e) => { const r = e?.getBoundingClientRect(); return r && { top: r.top, bottom: r.bottom, x: r.left + r.width / 2 }; };
        return { track: rect(el.querySelector('.track')), thumb: rect(el.querySelector('.thumb')),
                 min: Number(el.getAttribute('aria-valuemin')), max: Number(el.getAttribute('aria-valuemax')),
                 now: Number(el.getAttribute('aria-valuenow')) };
    });
    await reach(win, bar, name, true);
    if (request === 'LineUp' || request === 'LineDown') {
        const arrow = await bar.$(request === 'LineUp' ? '.up' : '.down');
        if (!arrow)
            throw new Error(`no arrow of ${name}`);
        const at = await arrow.evaluate((el) => __korvaneProbe.pointOf(el));
        return page.mouse.click(at.x, at.y);
    }
    const p = await parts();
    if (!p.track || !p.thumb)
        throw new Error(`no track or thumb in ${name}`);
    if (request === 'PageUp' || request === 'PageDown') {
        const [from, to] = request === 'PageUp' ? [p.track.top, p.thumb.top] : [p.thumb.bottom, p.track.bottom];
        if (to - from < 1)
            return; // the thumb is against that end: no track to click
        return page.mouse.click(p.track.x, (from + to) / 2);
    }
    if (request !== 'ThumbReleased' && request !== 'ThumbDragged')
        throw new Error(`scroll request ${request}`);
    // The thumb's middle where the track's proportion puts `value`.
    const travel = p.track.bottom - p.track.top - (p.thumb.bottom - p.thumb.top);
    const middleOf = (value) => p.track.top + (p.thumb.bottom - p.thumb.top) / 2 +
        (value - p.min) / Math.max(1, p.max - p.min) * travel;
    const drag = async (to, letGo) => {
        const now = await parts();
        const from = (now.thumb.top + now.thumb.bottom) / 2;
        await page.mouse.move(now.track.x, from);
        await page.mouse.down();
        mouseHeld = true;
        await page.mouse.move(now.track.x, to, { steps: 4 });
        if (letGo) {
            await page.mouse.up();
            mouseHeld = false;
        }
    };
    if (request === 'ThumbDragged')
        return drag(middleOf(thumb), false);
    // Let go, the bar shows where it settled; where that is not `thumb`, the thumb is
    // dragged again, half as far from the last places that fell short and went past.
    let [low, high] = [p.track.top, p.track.bottom];
    let to = middleOf(thumb);
    for (let tries = 0; tries < 16; ++tries) {
        await drag(to, true);
        const settled = (await parts()).now;
        if (settled === thumb)
            return;
        [low, high] = settled < thumb ? [to, high] : [low, to];
        to = (low + high) / 2;
    }
    throw new Error(`the thumb of ${name} let go nowhere at ${thumb}: it settles at ${(await parts()).now}`);
}

// The page at a new pixel ratio, as on a screen of another density. Chromium evaluates its
// media queries again only when the viewport's size changes too: it is widened by a pixel
// and narrowed again, so that the page hears of the new ratio as it would on a real screen.
async function setScale(scale) {
    if (page.viewport()?.deviceScaleFactor === scale)
        return;
    await page.setViewport({ ...Viewport, width: Viewport.width + 1, deviceScaleFactor: scale });
    await P(() => __korvaneProbe.frame());
    await page.setViewport({ ...Viewport, deviceScaleFactor: scale });
    await P(() => __korvaneProbe.frame().then(__korvaneProbe.frame));
}

async function releaseMouse() {
    if (mouseHeld)
        await page.mouse.up();
    mouseHeld = false;
}

// The command `command` from the context menu of `control`; nothing where no click reaches
// the control, as no user can open its menu then.
async function runCommand(win, control, command) {
    const handle = await elementOf(win, control);
    let at;
    try {
        at = await reach(win, handle, control, false);
    } catch {
        return;
    }
    await page.mouse.click(at.x, at.y, { button: 'right' });
    const item = await page.waitForSelector(`[role=menu] [role=menuitem][data-command="${command}"]`,
        { visible: true, timeout: 2000 }).catch(() => null);
    if (!item)
        throw new Error(`no menu item ${command} in the context menu of ${control}`);
    const point = await item.evaluate((el) => __korvaneProbe.pointOf(el));
    await page.mouse.click(point.x, point.y);
    if (await P(() => Boolean(document.querySelector('[role=menu]')?.checkVisibility())))
        await page.keyboard.press('Escape');
}

// Each error box open now read and answered with OK, by a click.
async function settle() {
    for (let n = 0; ; ++n) {
        const box = await P(() => __korvaneProbe.openBox());
        if (!box)
            return;
        if (n === 10)
            throw new Error('error boxes keep coming');
        boxes.push({ title: box.title, text: box.text, stopAndOk: box.stopAndOk,
                     afterMs: Math.round(box.at - actionStart) });
        const ok = await page.$('dialog#errorbox button');
        const at = await ok.evaluate((el) => __korvaneProbe.pointOf(el));
        await page.mouse.click(at.x, at.y);
    }
}

// The downloads begun from now on, when `count` of them are complete.
async function downloaded(act, count = 1) {
    const before = new Set(downloads.done.keys());
    await act();
    const fresh = () => [...downloads.done].filter(([guid]) => !before.has(guid)).map(([, d]) => d);
    for (const until = Date.now() + 10_000; Date.now() < until;) {
        if (fresh().length >= count && fresh().every((d) => d.state))
            return fresh().map((d) => ({
                name: d.name, state: d.state,
                bytes: d.state === 'completed' ? readFileSync(join(downloads.folder, d.name)) : Buffer.alloc(0),
            }));
        await new Promise((done) => setTimeout(done, 20));
    }
    return fresh().map((d) => ({ name: d.name, state: d.state ?? 'unfinished', bytes: Buffer.alloc(0) }));
}

const actions = {
    async restart() {
        if (broken || !browser) {
            await stop();
            await start();
        }
        await releaseMouse();
        if (page.viewport()?.deviceScaleFactor !== baseScale)
            await page.setViewport({ ...Viewport, deviceScaleFactor: baseScale });
        await load(page, url);
    },
    click: ({ window, control, tab }) => (control === 'TabStrip1' ? clickTab(tab) : clickControl(window, control)),
    focus: ({ window, control }) => focusControl(window, control),
    key: (key) => pressKey(key),
    async enter({ window, control, text, pasted }) {
        await focusControl(window, control);
        await selectAll();
        if (pasted && text)
            await cdp.send('Input.insertText', { text });
        else if (pasted)
            await page.keyboard.press('Backspace');
        else
            for (const ch of text)
                await typeCharacter(ch);
    },
    async pick({ window, control, item }) {
        const list = await page.evaluateHandle((w, n) => {
            const el = __korvaneProbe.el(w, n);
            return el?.tagName === 'SELECT' ? el
                : __korvaneProbe.win(w)?.querySelector(`select.items[data-for="${n}"]`) ?? null;
        }, window, control);
        const value = await list.evaluate((s, i) => s?.options[i]?.value ?? null, item);
        if (value === null)
            throw new Error(`no item ${item} in the list of ${control}`);
        await list.asElement().select(value);
    },
    scroll: ({ window, control, request, thumb }) => scroll(window, control, request, thumb),
    run: ({ window, control, command }) => runCommand(window, control, command),
    async close({ window }) {
        const button = await page.evaluateHandle(
            (w) => __korvaneProbe.win(w)?.querySelector('header.titlebar button.close') ?? null, window);
        if (!(await button.evaluate((el) => el !== null)))
            throw new Error(`no close button on ${window}`);
        const at = await reach(window, button.asElement(), 'close', false);
        await page.mouse.click(at.x, at.y);
    },
    async dpi({ wanted }) {
        if (wanted) {
            await releaseMouse();
            await setScale(wanted / 96);
        }
        return { dpi: await P(() => Math.round(96 * devicePixelRatio)) };
    },
    async settings({ key, bytes, writable }) {
        if (blockScript)
            await page.removeScriptToEvaluateOnNewDocument(blockScript);
        blockScript = writable ? null : (await page.evaluateOnNewDocument(blockWrites)).identifier;
        await P((k, b, w) => {
            const set = __korvaneProbe.setItem;
            Storage.prototype.setItem = set;
            if (b === null)
                localStorage.removeItem(k);
            else
                set.call(localStorage, k, b);
            if (!w)
                Storage.prototype.setItem = function () {
                    throw new DOMException('The quota has been exceeded.', 'QuotaExceededError');
                };
        }, key, bytes, writable);
    },
};

const readings = {
    state: () => P(() => __korvaneProbe.state()),
    async heard({ window, control }) {
        const handle = await elementOf(window, control);
        const ax = (await page.accessibility.snapshot({ root: handle, interestingOnly: false })) ?? {};
        const own = await handle.evaluate((el) => ({
            text: el.textContent.trim(),
            titles: (el.getAttribute('aria-labelledby') ?? '').split(/\s+/).filter(Boolean)
                .map((id) => document.getElementById(id)?.textContent ?? ''),
        }));
        const names = [ax.name ?? ''];
        // A label's text is read as it stands, whatever names it.
        if (own.text && ['generic', 'none', 'StaticText'].includes(ax.role))
            names.push(own.text);
        return { names: [...names, ...own.titles], description: ax.description ?? '' };
    },
    async colour({ role }) {
        const rgb = await P((p) => __korvaneProbe.colour(p), `--${role}`);
        if (rgb < 0)
            throw new Error(`no colour --${role} on :root`);
        return { rgb };
    },
    async picture({ window, control, painted }) {
        const backing = await P((w, n) => __korvaneProbe.backing(w, n), window, control);
        if (!painted)
            return backing;
        const clip = await P((w, n) => __korvaneProbe.contentBox(w, n), window, control);
        // The whole view as the screen shows it, cut out where the canvas lies: a clipped
        // capture at a fractional ratio draws the page anew, scaled, rather than as shown.
        const data = await page.screenshot({ encoding: 'base64' });
        const shot = decodePng(Buffer.from(data, 'base64'));
        const left = Math.round(clip.x * clip.scale), top = Math.round(clip.y * clip.scale);
        if (shot.width < left + backing.width || shot.height < top + backing.height)
            throw new Error(`the screenshot holds no ${backing.width} x ${backing.height} of ${control} at ${left}, ${top}`);
        return { width: backing.width, height: backing.height, rgb: rgbBase64(shot, backing.width, backing.height, left, top) };
    },
    readings: async ({ window, reads }) =>
        ({ readings: await P((w, n) => __korvaneProbe.readings(w, n), window, reads) }),
    // What the clipboard holds, once it holds anything (a copy is written while its picture
    // is encoded, after the action): its text and its picture, decoded.
    async clipboard() {
        await page.bringToFront();
        const held = await P(async () => {
            for (const until = performance.now() + 3000; performance.now() < until;) {
                const items = await navigator.clipboard.read();
                if (items.some((item) => item.types.some((t) => t !== 'text/plain')) ||
                    (await navigator.clipboard.readText()))
                    break;
                await new Promise((done) => setTimeout(done, 20));
            }
            const out = { types: [] };
            for (const item of await navigator.clipboard.read())
                for (const type of item.types) {
                    out.types.push(type);
                    const blob = await item.getType(type);
                    if (type === 'text/plain')
                        out.text = await blob.text();
                    if (type === 'image/png')
                        out.png = __korvaneProbe.base64(new Uint8Array(await blob.arrayBuffer()));
                }
            return out;
        });
        const answer = { types: held.types, text: held.text ?? '' };
        if (held.png) {
            const image = decodePng(Buffer.from(held.png, 'base64'));
            Object.assign(answer, { width: image.width, height: image.height, rgb: rgbBase64(image) });
        }
        return answer;
    },
    async clearClipboard() {
        await page.bringToFront();
        await P(() => navigator.clipboard.writeText(''));
    },
};

// The save dialog that `command` opens answered: `name` typed over the name proposed (none:
// kept) and type `type` picked, then OK clicked; the file downloaded, and an SVG parsed.
actions.save = async ({ window, control, command, name, type }) => {
    await runCommand(window, control, command);
    const dialog = await page.waitForSelector('dialog#savebox[open]', { timeout: 3000 }).catch(() => null);
    if (!dialog)
        throw new Error(`${command} opened no save dialog`);
    const asked = await dialog.evaluate((d) => ({
        title: d.querySelector('.title')?.textContent ?? '',
        proposed: d.querySelector('input.name')?.value ?? '',
        types: [...(d.querySelector('select.type')?.options ?? [])].map((o) => o.textContent),
    }));
    if (type >= 0)
        await (await dialog.$('select.type')).select(
            await dialog.evaluate((d, i) => d.querySelector('select.type').options[i].value, type));
    if (name) {
        const field = await dialog.$('input.name');
        const at = await field.evaluate((el) => __korvaneProbe.pointOf(el));
        await page.mouse.click(at.x, at.y);
        await selectAll();
        for (const ch of name)
            await typeCharacter(ch);
    }
    const files = await downloaded(async () => {
        const ok = await dialog.$('button.ok');
        const at = await ok.evaluate((el) => __korvaneProbe.pointOf(el));
        await page.mouse.click(at.x, at.y);
    });
    const file = files[0] ?? { name: '', state: 'none', bytes: Buffer.alloc(0) };
    const answer = { ...asked, downloads: files.length, fileName: file.name, state: file.state,
                     bytes: file.bytes.toString('base64') };
    if (file.name.endsWith('.svg'))
        answer.parsed = await P((text) => {
            const doc = new DOMParser().parseFromString(text, 'image/svg+xml');
            const error = doc.querySelector('parsererror');
            return error ? `not parsed: ${error.textContent}` : doc.documentElement.localName;
        }, file.bytes.toString('utf8'));
    if (file.name.endsWith('.png')) {
        const image = decodePng(file.bytes);
        Object.assign(answer, { width: image.width, height: image.height, rgb: rgbBase64(image) });
    }
    return answer;
};

// `command` run with the browser's print dialog held back: how often the page asked for it,
// and the page the browser prints then, as a PDF's text and its count of pages, and whether
// that text holds `expect` (both compared in NFKC, blanks left out: a PDF's text may name an
// ideograph by the radical it shares a glyph with, and breaks its lines where the page does).
actions.print = async ({ window, control, command, expect }) => {
    await P(() => {
        window.print = () => ++__korvaneProbe.printed;
        __korvaneProbe.printed = 0;
    });
    await runCommand(window, control, command);
    const asked = await P(() => ({
        calls: __korvaneProbe.printed,
        svg: document.querySelector('#printout svg')?.outerHTML ?? '',
    }));
    const folder = mkdtempSync(join(tmpdir(), 'korvane-print-'));
    try {
        const pdf = join(folder, 'page.pdf');
        writeFileSync(pdf, await page.pdf({ preferCSSPageSize: true, printBackground: true }));
        const text = execFileSync('pdftotext', ['-enc', 'UTF-8', pdf, '-'], { encoding: 'utf8' });
        const info = execFileSync('pdfinfo', [pdf], { encoding: 'utf8' });
        const plain = (t) => t.normalize('NFKC').replace(/\s+/g, '');
        return { ...asked, pdfText: text, found: plain(text).includes(plain(expect ?? '')),
                 pages: Number(info.match(/^Pages:\s+(\d+)/m)?.[1] ?? 0) };
    } finally {
        rmSync(folder, { recursive: true, force: true });
    }
};

async function perform(request) {
    if (request.op in actions) {
        actionStart = performance.timeOrigin + performance.now();
        boxes = [];
        const answer = (await actions[request.op](request)) ?? {};
        await settle();
        return { ...answer, boxes };
    }
    if (request.op in readings)
        return readings[request.op](request);
    throw new Error(`no request ${request.op}`);
}

// JSON of ASCII alone: every other character as its \u escape, so that the reader needs no
// UTF-8 and any UTF-16 text, unpaired surrogates too, comes through as it was.
const ascii = (value) => JSON.stringify(value).replace(/[\u007f-\uffff]/g,
    (c) => '\\u' + c.charCodeAt(0).toString(16).padStart(4, '0'));

async function answer(line) {
    let request;
    try {
        request = JSON.parse(line);
        let timer;
        const result = await Promise.race([
            perform(request),
            new Promise((_, fail) => {
                timer = setTimeout(() => fail(new Error(`no answer in ${OpTimeoutMs / 1000} s`)), OpTimeoutMs);
            }),
        ]).finally(() => clearTimeout(timer));
        return { ...result, pageErrors: pageErrors.splice(0) };
    } catch (e) {
        broken = broken || /no answer in|Target closed|Session closed|detached/i.test(String(e.message));
        return { error: `${request?.op ?? 'request'}: ${e.message}`, pageErrors: pageErrors.splice(0) };
    }
}

try {
    await start();
} catch (e) {
    process.stdout.write(ascii({ error: `start: ${e.message}` }) + '\n');
    await stop();
    process.exit(1);
}
process.stdout.write(ascii({ started: true, version: await browser.version() }) + '\n');
const lines = createInterface({ input: process.stdin, crlfDelay: Infinity });
for await (const line of lines)
    if (line.trim())
        process.stdout.write(ascii(await answer(line)) + '\n');
await stop();
