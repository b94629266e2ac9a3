#!/usr/bin/env bash
# The web page, on Debian 12: installs what is missing (as root), builds the page's module
# for WebAssembly (cmake --preset wasm, target korvane_web), strips and optimises it with
# binaryen's wasm-opt, and writes
#   build-web/korvane.html   the page with its script, styles, pictures and module inlined:
#                            it runs opened from disk, with no server and no network;
#   build-web/site/          the same files apart, for a static web server.
#
# Usage: scripts/web.sh          (from any directory)
set -euo pipefail
cd "$(dirname "$0")/.."
out=build-web
start=$SECONDS

packages=(cmake make clang-14 lld-14 llvm-14 wasi-libc libc++-14-dev-wasm32
          libc++abi-14-dev-wasm32 libclang-rt-14-dev-wasm32 libfast-float-dev binaryen)
command -v node >/dev/null || packages+=(nodejs)
bash scripts/install-deps.sh --only "${packages[@]}"

cmake --preset wasm >/dev/null
cmake --build --preset wasm --target korvane_web -j"$(nproc)"
rm -rf "$out/site"
mkdir -p "$out/site"
wasm-opt -Oz --strip-debug --strip-producers build-wasm/web/korvane.wasm -o "$out/site/korvane.wasm"
cp web/index.html web/korvane.css web/korvane.js "$out/site/"

# The pictures the windows show, as data URLs; the module fetched beside the page, or, in
# the single file, decoded from the page itself.
node --no-warnings - "$out" <<'JS'
const fs = require('fs');
const [out] = process.argv.slice(2);
const site = `${out}/site`;
const pictures = {};
for (const name of ['product'])
  pictures[name] = `data:image/png;base64,${fs.readFileSync(`app/resources/${name}.png`).toString('base64')}`;
const prelude = (module) => `const Pictures = ${JSON.stringify(pictures)};\nconst Module = ${module};\n`;
fs.writeFileSync(`${site}/prelude.js`,
  prelude("fetch('korvane.wasm').then((r) => r.arrayBuffer()).then((b) => WebAssembly.compile(b))"));
const wasm = fs.readFileSync(`${site}/korvane.wasm`).toString('base64');
// Decoded by the browser's own base64 where it has it, else a loop over atob's bytes.
const decode = `((text) => {
  if (Uint8Array.fromBase64) return Uint8Array.fromBase64(text);
  const raw = atob(text), bytes = new Uint8Array(raw.length);
  for (let i = 0; i < raw.length; ++i) bytes[i] = raw.charCodeAt(i);
  return bytes;
})`;
// Compiled while the rest of the page is read.
const inlined = prelude(`WebAssembly.compile(${decode}('${wasm}'))`);
const page = fs.readFileSync(`${site}/index.html`, 'utf8')
  .replace('<link rel="stylesheet" href="korvane.css">',
    () => `<style>\n${fs.readFileSync(`${site}/korvane.css`, 'utf8')}</style>`)
  .replace('<script src="prelude.js"></script>', () => `<script>\n${inlined}</script>`)
  .replace('<script type="module" src="korvane.js"></script>',
    () => `<script type="module">\n${fs.readFileSync(`${site}/korvane.js`, 'utf8')}</script>`);
fs.writeFileSync(`${out}/korvane.html`, page);
JS
size=$(stat -c %s "$out/korvane.html")
echo "web: $out/korvane.html, $size bytes (module $(stat -c %s "$out/site/korvane.wasm") bytes), and $out/site/, in $((SECONDS - start)) s"
