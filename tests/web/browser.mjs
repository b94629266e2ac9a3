// What the page's tests and its benchmark share: Debian's Chromium started headless, the page
// opened from disk, a PNG decoded and the pixels of a picture as base64.
import { inflateSync } from 'node:zlib';
import { existsSync } from 'node:fs';
import { resolve } from 'node:path';
import { pathToFileURL } from 'node:url';
import puppeteer from 'puppeteer-core';

export const chromium = process.env.KORVANE_CHROMIUM || '/usr/bin/chromium';

// The page built by scripts/web.sh, from the environment or the first argument.
export function pageFile(argument) {
    const file = resolve(argument || process.env.KORVANE_WEB_PAGE || 'build-web/korvane.html');
    if (!existsSync(file))
        throw new Error(`no page at ${file}: build it with scripts/web.sh`);
    return file;
}

export const pageUrl = (file) => pathToFileURL(file).href;

// Wide enough for the main window and the planner side by side, so that neither is scaled.
export const Viewport = { width: 1600, height: 1000 };

export async function launch() {
    return puppeteer.launch({
        executablePath: chromium,
        headless: true,
        args: ['--no-sandbox', '--disable-gpu', '--hide-scrollbars', '--font-render-hinting=none'],
        defaultViewport: null,
        protocolTimeout: 60_000,
    });
}

// The page loaded and its main window started and painted.
export async function load(page, url, timeout = 20_000) {
    await page.goto(url, { waitUntil: 'load', timeout });
    const ready = await page.evaluate(
        (ms) =>
            Promise.race([
                Promise.resolve(window.korvane?.ready).then(() => Boolean(window.korvane)),
                new Promise((done) => setTimeout(() => done(false), ms)),
            ]),
        timeout,
    );
    if (!ready)
        throw new Error('window.korvane.ready did not resolve');
}

// A PNG of 8-bit channels, not interlaced, as { width, height, rgba } (4 bytes a pixel).
export function decodePng(bytes) {
    const data = Buffer.from(bytes);
    if (data.length < 8 || data.readUInt32BE(0) !== 0x89504e47)
        throw new Error('not a PNG');
    let width = 0, height = 0, type = 0, depth = 0, interlace = 0, palette = null, alpha = null;
    const idat = [];
    for (let at = 8; at + 8 <= data.length;) {
        const length = data.readUInt32BE(at);
        const name = data.toString('latin1', at + 4, at + 8);
        const body = data.subarray(at + 8, at + 8 + length);
        if (name === 'IHDR') {
            width = body.readUInt32BE(0);
            height = body.readUInt32BE(4);
            [depth, type] = [body[8], body[9]];
            interlace = body[12];
        } else if (name === 'PLTE') palette = body;
        else if (name === 'tRNS') alpha = body;
        else if (name === 'IDAT') idat.push(body);
        else if (name === 'IEND') break;
        at += 12 + length;
    }
    const channels = { 0: 1, 2: 3, 3: 1, 4: 2, 6: 4 }[type];
    if (depth !== 8 || !channels || interlace)
        throw new Error(`PNG of type ${type}, depth ${depth}, interlace ${interlace} not read here`);
    const raw = inflateSync(Buffer.concat(idat));
    const stride = width * channels;
    if (raw.length < height * (stride + 1))
        throw new Error('PNG data cut short');
    const rows = Buffer.alloc(height * stride);
    for (let y = 0; y < height; ++y) {
        const filter = raw[y * (stride + 1)];
        const line = raw.subarray(y * (stride + 1) + 1, (y + 1) * (stride + 1));
        const out = rows.subarray(y * stride, (y + 1) * stride);
        const up = y ? rows.subarray((y - 1) * stride, y * stride) : Buffer.alloc(stride);
        for (let x = 0; x < stride; ++x) {
            const a = x >= channels ? out[x - channels] : 0;
            const b = up[x];
            const c = x >= channels ? up[x - channels] : 0;
            const p = a + b - c;
            const [pa, pb, pc] = [Math.abs(p - a), Math.abs(p - b), Math.abs(p - c)];
            const predicted = [0, a, b, (a + b) >> 1, pa <= pb && pa <= pc ? a : pb <= pc ? b : c][filter];
            if (predicted === undefined)
                throw new Error(`PNG filter ${filter}`);
            out[x] = (line[x] + predicted) & 0xff;
        }
    }
    const rgba = Buffer.alloc(width * height * 4);
    for (let i = 0; i < width * height; ++i) {
        const s = rows.subarray(i * channels, (i + 1) * channels);
        const [r, g, b, a] =
            type === 0 ? [s[0], s[0], s[0], 255]
            : type === 4 ? [s[0], s[0], s[0], s[1]]
            : type === 2 ? [s[0], s[1], s[2], 255]
            : type === 6 ? [s[0], s[1], s[2], s[3]]
            : [palette[3 * s[0]], palette[3 * s[0] + 1], palette[3 * s[0] + 2],
               alpha && s[0] < alpha.length ? alpha[s[0]] : 255];
        rgba.set([r, g, b, a], i * 4);
    }
    return { width, height, rgba };
}

// The top-left `width` by `height` pixels of an RGBA image as base64 of 3 bytes a pixel.
export function rgbBase64(image, width = image.width, height = image.height, left = 0, top = 0) {
    const out = Buffer.alloc(width * height * 3);
    for (let y = 0; y < height; ++y)
        for (let x = 0; x < width; ++x) {
            const from = ((top + y) * image.width + left + x) * 4;
            out.set(image.rgba.subarray(from, from + 3), (y * width + x) * 3);
        }
    return out.toString('base64');
}

export const median = (values) => [...values].sort((a, b) => a - b)[values.length >> 1];
export const worst = (values) => Math.max(...values);
