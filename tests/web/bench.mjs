// The page's size and speed in headless Chromium, side by side in one run:
// - korvane.html's size, at most 1 MiB;
// - the time to the first paint of its window, against a floor page holding the same
//   controls at the same places with no script (a static copy of the page's own DOM once
//   started), loaded alternately, each in a new tab: medians, worst and their ratio, at
//   most 1.5;
// - a press of "查看拼版图" and a planner keystroke through the page, with real input, from
//   the input event to the next animation frame after the page has handled it: median and
//   worst, for the cases bench/ times (web_bench_cases writes them).
//
//   node bench.mjs --cases cases.jsonl [--loads 10] [--runs 10] [page]
// Prints a table and, last, one line of JSON; exits 1 when the size or the start-up ratio is
// over its limit, or a case is refused or not answered.
import { readFileSync, statSync, writeFileSync, mkdtempSync, rmSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import { parseArgs } from 'node:util';
import { Viewport, launch, load, median, pageFile, pageUrl, worst } from './browser.mjs';

const { values: options, positionals } = parseArgs({
    options: { cases: { type: 'string' }, loads: { type: 'string', default: '10' },
               runs: { type: 'string', default: '10' } },
    allowPositionals: true,
});
const file = pageFile(positionals[0]);
const url = pageUrl(file);
const cases = readFileSync(options.cases, 'utf8').split('\n').filter(Boolean).map((l) => JSON.parse(l));
const loads = Number(options.loads);
const runs = Number(options.runs);
const SizeLimit = 1 << 20;
const RatioLimit = 1.5;
const problems = [];
const ms = (t) => t.toFixed(t < 10 ? 2 : 1);

// When the first contentful paint came, and when the page's window.korvane.ready resolved
// (in the animation frame that paints its window), from the start of the navigation.
function paintMarks() {
    const marks = (window.__marks = {});
    new PerformanceObserver((list) => {
        for (const e of list.getEntries())
            marks[e.name] = e.startTime;
    }).observe({ type: 'paint', buffered: true });
    let held;
    Object.defineProperty(window, 'korvane', {
        configurable: true,
        get: () => held,
        set: (value) => {
            held = value;
            Promise.resolve(value?.ready).then(() => (marks.ready = performance.now()));
        },
    });
}

// The page once started, its script and everything it made left out but its DOM: each field
// holding what it shows, as attributes.
async function writeFloor(browser, folder) {
    const page = await browser.newPage();
    await page.setViewport(Viewport);
    await load(page, url);
    const html = await page.evaluate(() => {
        for (const e of document.querySelectorAll('input'))
            e.type === 'checkbox' || e.type === 'radio'
                ? e.toggleAttribute('checked', e.checked) : e.setAttribute('value', e.value);
        for (const s of document.querySelectorAll('select'))
            [...s.options].forEach((o, i) => o.toggleAttribute('selected', i === s.selectedIndex));
        for (const s of document.querySelectorAll('script'))
            s.remove();
        return `<!doctype html>\n${document.documentElement.outerHTML}`;
    });
    await page.close();
    const floor = join(folder, 'floor.html');
    writeFileSync(floor, html);
    return floor;
}

async function firstPaint(browser, target, isPage) {
    const page = await browser.newPage();
    await page.setViewport(Viewport);
    await page.evaluateOnNewDocument(paintMarks);
    if (isPage)
        await load(page, target);
    else
        await page.goto(target, { waitUntil: 'load' });
    const marks = await page.evaluate(async () => {
        for (let i = 0; i < 100 && !window.__marks['first-contentful-paint']; ++i)
            await new Promise((done) => setTimeout(done, 10));
        return window.__marks;
    });
    await page.close();
    const paint = marks['first-contentful-paint'];
    if (paint === undefined || (isPage && marks.ready === undefined))
        throw new Error(`no first paint of ${target}`);
    // The window is painted in the frame its ready resolves in, or after.
    return isPage ? Math.max(paint, marks.ready) : paint;
}

// The time from the next `start` event to the next animation frame after the first `done`
// event has gone through the page, its listeners all run; and to that event's end.
function timeNext(start, done) {
    window.__timed = new Promise((resolve) => {
        let from = null;
        addEventListener(start, (e) => (from ??= e.timeStamp), { capture: true, once: true });
        addEventListener(done, () => {
            const handled = performance.now();
            requestAnimationFrame(() => resolve({ handled: handled - from, frame: performance.now() - from }));
        }, { once: true });
    });
}

async function timed(page, start, done, act) {
    await page.evaluate(timeNext, start, done);
    await act();
    return page.evaluate(() => Promise.race([
        window.__timed,
        new Promise((resolve) => setTimeout(() => resolve(null), 10_000)),
    ]));
}

async function pointOf(page, selector) {
    return page.$eval(selector, (e) => {
        const r = e.getBoundingClientRect();
        return { x: r.left + r.width / 2, y: r.top + r.height / 2 };
    });
}

// A field's whole text replaced, as a paste does.
async function paste(page, selector, text) {
    await page.$eval(selector, (e) => e.focus());
    await page.keyboard.down('Control');
    await page.keyboard.press('a');
    await page.keyboard.up('Control');
    if (text)
        await page.keyboard.sendCharacter(text);
    else
        await page.keyboard.press('Backspace');
}

const boxOpen = (page) => page.evaluate(() => Boolean(document.getElementById('errorbox')?.open));

async function presses(page) {
    const rows = [];
    const button = await pointOf(page, '#main #Command6');
    for (const c of cases.filter((c) => c.op === 'press')) {
        for (const field of ['Combo2', 'Combo3', 'Text4', 'Text5', 'Text6', 'Text7'])
            await paste(page, `#main #${field}`, c[field]);
        const times = [];
        for (let run = 0; run < runs; ++run) {
            const t = await timed(page, 'click', 'click', () => page.mouse.click(button.x, button.y));
            if (!t || (await boxOpen(page))) {
                problems.push(`the press "${c.name}" ${t ? 'was refused' : 'was not answered'}`);
                break;
            }
            times.push(t);
        }
        if (times.length)
            rows.push({ name: c.name, ...summary(times) });
    }
    return rows;
}

const summary = (times) => ({
    median: median(times.map((t) => t.frame)), worst: worst(times.map((t) => t.frame)),
    handledMedian: median(times.map((t) => t.handled)), handledWorst: worst(times.map((t) => t.handled)),
});

const PlannerFields = ['Text51', 'Text52', 'Text53', 'Text54', 'Text55', 'Text56', 'Text57', 'Text58'];

// A keystroke in the planner that completes case `c`: its fields pasted where they differ,
// the last product side but for its last character, which is then typed.
async function keystroke(page, c, shown) {
    for (const field of PlannerFields.slice(0, 3).concat(PlannerFields.slice(4)))
        if (shown[field] !== c[field]) {
            await paste(page, `#planner #${field}`, c[field]);
            shown[field] = c[field];
        }
    if (shown.Combo53 !== c.Combo53) {
        const value = await page.$eval('#planner #Combo53', (s, text) =>
            [...s.options].find((o) => o.textContent === text)?.value, c.Combo53);
        await page.select('#planner #Combo53', value);
        shown.Combo53 = c.Combo53;
    }
    const side = c.Text54;
    await paste(page, '#planner #Text54', side.slice(0, -1));
    shown.Text54 = side;
    const t = await timed(page, 'keydown', 'input', () => page.keyboard.type(side.slice(-1)));
    const status = await page.$eval('#planner #Label86', (e) => e.textContent);
    if (!t || status)
        problems.push(`the planner's "${c.name}" ${t ? `says ${status}` : 'was not answered'}`);
    return t;
}

async function keystrokes(page) {
    // The planner opened from the imposition panel by its shortcut.
    await page.$eval('#main #Text4', (e) => e.focus());
    await page.keyboard.down('Control');
    await page.keyboard.press('l');
    await page.keyboard.up('Control');
    await page.waitForSelector('#planner:not([hidden])', { timeout: 5000 });
    const shown = {};
    const everyday = [];
    for (const c of cases.filter((c) => c.op === 'everyday')) {
        const t = await keystroke(page, c, shown);
        if (t)
            everyday.push(t);
    }
    const rows = [{ name: `${everyday.length} everyday sheets and products`, ...summary(everyday) }];
    for (const c of cases.filter((c) => c.op === 'worst')) {
        const times = [];
        for (let run = 0; run < Math.max(3, runs >> 1); ++run) {
            const t = await keystroke(page, c, shown);
            if (t)
                times.push(t);
        }
        if (times.length)
            rows.push({ name: c.name, ...summary(times) });
    }
    return rows;
}

function table(title, rows) {
    console.log(`\n${title}`);
    console.log(`  ${'case (ms)'.padEnd(50)} ${'median'.padStart(8)} ${'worst'.padStart(8)}   handled: median, worst`);
    for (const r of rows)
        console.log(`  ${r.name.padEnd(50)} ${ms(r.median).padStart(8)} ${ms(r.worst).padStart(8)}   ${ms(r.handledMedian)}, ${ms(r.handledWorst)}`);
}

const size = statSync(file).size;
console.log(`page: ${file}, ${size} bytes (${(size / SizeLimit).toFixed(2)} MiB, at most 1)`);
if (size > SizeLimit)
    problems.push(`the page is ${size} bytes, over 1 MiB`);

const browser = await launch();
const folder = mkdtempSync(join(tmpdir(), 'korvane-bench-'));
try {
    const floor = pageUrl(await writeFloor(browser, folder));
    const pageTimes = [];
    const floorTimes = [];
    for (let i = 0; i < loads; ++i) {
        pageTimes.push(await firstPaint(browser, url, true));
        floorTimes.push(await firstPaint(browser, floor, false));
    }
    const ratio = median(pageTimes) / median(floorTimes);
    console.log(`\nfirst paint of the window, ${loads} loads each, alternately (ms): ` +
        `page median ${ms(median(pageTimes))}, worst ${ms(worst(pageTimes))}; ` +
        `floor median ${ms(median(floorTimes))}, worst ${ms(worst(floorTimes))}; ` +
        `ratio ${ratio.toFixed(2)} (aim ${RatioLimit}: ${ratio > RatioLimit ? 'ABOVE' : 'within'})`);
    // Timed on a shared machine, the start-up is for information, as the desktops' is; the
    // page's size is a limit.

    const page = await browser.newPage();
    await page.setViewport(Viewport);
    await load(page, url);
    const pressRows = await presses(page);
    table(`a press of 查看拼版图, from its click to the next frame after it, ${runs} runs each`, pressRows);
    const keyRows = await keystrokes(page);
    table('a planner keystroke, from its keydown to the next frame after its input', keyRows);
    const result = {
        bytes: size, firstPaintMs: median(pageTimes), floorMs: median(floorTimes), ratio,
        press: Object.fromEntries(pressRows.map((r) => [r.name, [r.median, r.worst]])),
        keystroke: Object.fromEntries(keyRows.map((r) => [r.name, [r.median, r.worst]])),
        problems,
    };
    for (const p of problems)
        console.log(`PROBLEM: ${p}`);
    console.log(JSON.stringify(result));
} finally {
    await browser.close();
    rmSync(folder, { recursive: true, force: true });
}
process.exit(problems.length ? 1 : 0);
