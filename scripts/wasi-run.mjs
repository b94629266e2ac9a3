// Runs a WASI command module (preview1) under node, as if it were a native program: the
// arguments after the module reach it as argv[1..], it sees this process's environment and
// standard streams, and its exit status becomes node's. The working directory is mapped
// both as "." and under its own absolute path, so relative paths and absolute paths inside
// it work; nothing else of the file system is visible. A trap (out-of-bounds access,
// unreachable, stack overflow) ends node with an error and a non-zero status.
//
// Usage: node --no-warnings scripts/wasi-run.mjs program.wasm [arguments...]
import { readFile } from 'node:fs/promises';
import { WASI } from 'node:wasi';

const [program, ...args] = process.argv.slice(2);
if (!program) {
    console.error('usage: node wasi-run.mjs program.wasm [arguments...]');
    process.exit(2);
}
const cwd = process.cwd();
const wasi = new WASI({
    version: 'preview1',
    args: [program, ...args],
    env: process.env,
    preopens: { '.': cwd, [cwd]: cwd },
    returnOnExit: true,
});
const module = await WebAssembly.compile(await readFile(program));
// The import object by hand: node 18 (Debian 12's nodejs) has no getImportObject().
const instance = await WebAssembly.instantiate(module, { wasi_snapshot_preview1: wasi.wasiImport });
process.exitCode = wasi.start(instance);
