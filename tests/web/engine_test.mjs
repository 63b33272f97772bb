// The WebAssembly engine makes the golden town byte for byte: the data files
// are handed over as bytes, and the town is read back from the module's
// memory in chunks; each export it writes is the native towncensus's, byte
// for byte. Usage: node engine_test.mjs --engine towngen_engine.js --golden DIR
// --native DIR_OF_TOWNCENSUS --work SCRATCH_DIR
import { execFileSync } from 'node:child_process';
import { copyFileSync, mkdirSync, readdirSync, readFileSync } from 'node:fs';
import { createRequire } from 'node:module';
import { join } from 'node:path';

const argument = (name) => process.argv[process.argv.indexOf(name) + 1];
const createEngine = createRequire(import.meta.url)(argument('--engine'));
// Handed its WebAssembly, the module fetches nothing, as in the page.
const engine = await createEngine({ wasmBinary: readFileSync(argument('--engine').replace(/\.js$/, '.wasm')) });
const golden = argument('--golden');

const encoder = new TextEncoder();
function handOver(name) {
  const bytes = readFileSync(join(golden, name));
  const nameAt = engine._malloc(name.length + 1);
  engine.HEAPU8.set(encoder.encode(name + '\0'), nameAt);
  const bytesAt = engine._malloc(bytes.length);
  engine.HEAPU8.set(bytes, bytesAt);
  engine._towngen_add_data_file(nameAt, bytesAt, bytes.length);
  engine._free(nameAt);
  engine._free(bytesAt);
}
for (const name of JSON.parse(engine.UTF8ToString(engine._towngen_vocabulary())).dataFiles) handOver(name);

// The dialogue's answers 14 and 70 are --min-age 14 --max-age 69. Each
// town is made twice: streamed out, and held in the module to be read back.
// The plain town is made last: the exports below read it, held.
const goldenTowns = [
  { file: 'households_2026_80_0_60.txt', population: 80, minAge: 0, maxAge: 60, modes: 1 },
  { file: 'traits_2026_40_0_60.txt', population: 40, minAge: 0, maxAge: 60, modes: 2 },
  { file: 'households_traits_2026_80_0_60.txt', population: 80, minAge: 0, maxAge: 60, modes: 3 },
  { file: 'ties_2026_80_0_60.txt', population: 80, minAge: 0, maxAge: 60, modes: 4 },
  { file: 'households_traits_ties_2026_80_0_60.txt', population: 80, minAge: 0, maxAge: 60, modes: 7 },
  { file: 'town_2026_40_14_70.txt', population: 40, minAge: 14, maxAge: 69, modes: 0 },
];
engine.townProgress = () => {};

for (const town of goldenTowns) {
  const expected = readFileSync(join(golden, town.file));
  for (const hold of [0, 1]) {
    const chunks = [];
    engine.townWrite = (bytes) => chunks.push(Buffer.from(bytes));
    const status = engine._towngen_make_town(town.population, town.minAge, town.maxAge, 2026, hold,
      town.modes);
    for (let i = 0; i < engine._towngen_held_pieces(); i++) {
      const at = engine._towngen_held_piece(i);
      chunks.push(Buffer.from(engine.HEAPU8.slice(at, at + engine._towngen_held_piece_size(i))));
    }
    const made = Buffer.concat(chunks);
    if (status !== 0 || Buffer.compare(made, expected) !== 0) {
      console.error(`the engine made ${made.length} bytes (status ${status}, hold ${hold}), ` +
        `the golden town ${town.file} has ${expected.length}`);
      process.exit(1);
    }
  }
  // The engine's estimate, by which the browser limits the size of a town
  // and keeps it in the module, holds for each mode.
  const estimate = engine._towngen_bytes_each(town.modes) * town.population;
  if (estimate < expected.length || estimate > 2 * expected.length) {
    console.error(`the engine estimates ${estimate} bytes for ${town.file} of ${expected.length}`);
    process.exit(1);
  }
  console.log(`the engine made ${town.file}, streamed and held: ${expected.length} bytes`);
}

// Every export the engine's vocabulary names (the page's buttons come from
// it) is written from the held town; a name it does not know is refused.
const vocabulary = JSON.parse(engine.UTF8ToString(engine._towngen_vocabulary()));
for (const town of goldenTowns) {
  if (vocabulary.townBytesEach[town.modes] !== engine._towngen_bytes_each(town.modes)) {
    console.error(`the vocabulary's estimate for modes ${town.modes} is not the engine's`);
    process.exit(1);
  }
}
const exportNamed = (name) => {
  const text = (value) => {
    const at = engine._malloc(value.length + 1);
    engine.HEAPU8.set(encoder.encode(value + '\0'), at);
    return at;
  };
  const [nameAt, townAt] = [text(name), text('Golden.txt')];
  const chunks = [];
  engine.townWrite = (chunk) => { chunks.push(Buffer.from(chunk)); };
  const status = engine._towngen_export(nameAt, townAt, 1);
  engine._free(nameAt);
  engine._free(townAt);
  return { status, bytes: Buffer.concat(chunks), message: engine.UTF8ToString(engine._towngen_message()) };
};
// The held town is the plain golden town, made last above: the native
// towncensus reads it as Golden.txt, so that the page has the same title.
const work = argument('--work');
mkdirSync(work, { recursive: true });
copyFileSync(join(golden, goldenTowns[goldenTowns.length - 1].file), join(work, 'Golden.txt'));
// A folder's files as the engine streams them: each file as its path's
// length (4 bytes, little-endian), its path, its text's length and its text;
// and as the native towncensus writes them, in the same order of paths.
const streamed = (bytes) => {
  const files = [];
  for (let at = 0; at < bytes.length;) {
    const pathLength = bytes.readUInt32LE(at);
    const path = bytes.subarray(at + 4, at + 4 + pathLength).toString();
    at += 4 + pathLength;
    const textLength = bytes.readUInt32LE(at);
    files.push([path, bytes.subarray(at + 4, at + 4 + textLength)]);
    at += 4 + textLength;
  }
  return Buffer.concat(files.sort(([a], [b]) => (a < b ? -1 : 1)).flatMap(([path, text]) => [Buffer.from(path), text]));
};
const nativeFolder = (option) => {
  mkdirSync(join(work, 'folders'), { recursive: true });
  execFileSync(join(argument('--native'), 'towncensus'), [option, 'folders', 'Golden.txt'], { cwd: work });
  const folder = join(work, 'folders', 'Golden');
  return Buffer.concat(readdirSync(folder).sort().map((name) => `Golden/${name}`)
    .sort().flatMap((path) => [Buffer.from(path), readFileSync(join(work, 'folders', path))]));
};
for (const format of vocabulary.exports) {
  const exported = exportNamed(format.name);
  const { status, message } = exported;
  const bytes = format.folder ? streamed(exported.bytes) : exported.bytes;
  const native = format.folder ? nativeFolder(format.option)
    : execFileSync(join(argument('--native'), 'towncensus'), [format.option, '-', 'Golden.txt'],
      { cwd: work, maxBuffer: 1 << 26 });
  if (status !== 0 || Buffer.compare(bytes, native) !== 0) {
    console.error(`the export "${format.name}" of the vocabulary is not towncensus's ${format.option}: ` +
      `${bytes.length} bytes against ${native.length} (${message})`);
    process.exit(1);
  }
}
const unknown = exportNamed('xlsx');
if (unknown.status !== 1 || unknown.message !== 'no export is named xlsx') {
  console.error(`an unknown export was not refused: ${JSON.stringify(unknown)}`);
  process.exit(1);
}
console.log(`the engine writes each of the ${vocabulary.exports.length} exports its vocabulary names, as towncensus does`);
