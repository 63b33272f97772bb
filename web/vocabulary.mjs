// Writes the engine's vocabulary (towngen_vocabulary: the data files, the
// exports, the numbers of the form and their limits) as JSON, for the build
// to put into towngen.html, so that the page works by the engine's own tables.
// Usage: node vocabulary.mjs --engine towngen_engine.js --output FILE
import { readFileSync, writeFileSync } from 'node:fs';
import { createRequire } from 'node:module';

const argument = (name) => process.argv[process.argv.indexOf(name) + 1];
const createEngine = createRequire(import.meta.url)(argument('--engine'));
const engine = await createEngine({ wasmBinary: readFileSync(argument('--engine').replace(/\.js$/, '.wasm')) });
const vocabulary = engine.UTF8ToString(engine._towngen_vocabulary());
JSON.parse(vocabulary);  // fails the build if it is not JSON
writeFileSync(argument('--output'), vocabulary);
