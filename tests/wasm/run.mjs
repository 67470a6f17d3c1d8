// Runs a WebAssembly test program (wasm32-wasi) under Node, as a command: its arguments after
// the file's, the folders it may read given as --dir=PATH, its exit status as Node's.
// Usage: node --no-warnings run.mjs [--dir=PATH]... PROGRAM [ARGS]...
import { readFile } from 'node:fs/promises';
import { WASI } from 'node:wasi';

const dirs = process.argv.slice(2).filter((a) => a.startsWith('--dir='));
const [program, ...args] = process.argv.slice(2 + dirs.length);
const preopens = Object.fromEntries(dirs.map((d) => [d.slice(6), d.slice(6)]));
const wasi = new WASI({ version: 'preview1', args: [program, ...args], env: {}, preopens,
                        returnOnExit: true });
const module = await WebAssembly.compile(await readFile(program));
const instance = await WebAssembly.instantiate(module, wasi.getImportObject());
process.exitCode = wasi.start(instance);
