// Reads what towncensus --notes and --foundry write with real parsers: every
// note as YAML front matter (yaml) and Markdown (markdown-it), the Foundry
// file against Foundry VTT's published types for versions 12 and 13
// (typescript), and the import macro under Node.js against a stand-in of
// Foundry's createDocuments.
//
//   node exports_test.mjs --towncensus BIN --golden DIR --macro FILE --work DIR
//
// Exits 0 when every check passes, 1 when one fails, 77 (skipped) when the
// parsers are not installed (npm ci in this folder).
import { execFileSync } from 'node:child_process';
import { cpSync, mkdirSync, readdirSync, readFileSync, rmSync, symlinkSync, writeFileSync } from 'node:fs';
import { dirname, join, resolve } from 'node:path';
import { fileURLToPath } from 'node:url';
import { parseArgs } from 'node:util';
import vm from 'node:vm';

const here = dirname(fileURLToPath(import.meta.url));
let YAML, MarkdownIt;
try {
  YAML = (await import('yaml')).default;
  MarkdownIt = (await import('markdown-it')).default;
} catch {
  console.log('skipped: the parsers are not installed (npm ci in tests/exports)');
  process.exit(77);
}
const { values: options } = parseArgs({
  options: { towncensus: { type: 'string' }, golden: { type: 'string' }, macro: { type: 'string' }, work: { type: 'string' } },
});
const work = resolve(options.work);
rmSync(work, { recursive: true, force: true });
mkdirSync(work, { recursive: true });

let failures = 0;
const check = (ok, what) => {
  if (!ok) {
    failures++;
    console.log(`FAILED: ${what}`);
  }
};
const towncensus = (...args) => execFileSync(resolve(options.towncensus), args, { cwd: work, encoding: 'utf8' });

// --- The towns ---------------------------------------------------------------

const HOSTILE_NAMES = [
  'a/b\\c:d*e?f"g<h>i|j', '[[Maud]] #x ^y |z', '.hidden', 'CON', '--- key: value', '-dash', 'key: value',
  '\u202Erevo', 'x'.repeat(300), 'y'.repeat(10000), 'Maud', 'MAUD', '@UUID[JournalEntry.x]{y} [[/r 1d6]]',
  '<b>bold</b> & *em* _u_ `code` $x$ ==m== %%c%%', '{{t}} \\ ~s~ &amp;',
];
const blocks = HOSTILE_NAMES.map((name, i) =>
  `${i + 1}) Name: ${name} Sex: Female Occupation: Farmer\n` +
  'Age: 30 Str: 9 Dex: 9 Con: 9 Int: 9 Wis: 9 Cha: 9 Com: 9\nCoins:\n1cp\nMagic Item(s):\n' + name);
writeFileSync(join(work, 'Hostile.txt'), blocks.join('\n\n') + '\n');
cpSync(join(options.golden, 'households_traits_2026_80_0_60.txt'), join(work, 'Ashford.txt'));
mkdirSync(join(work, 'notes'));
for (const town of ['Hostile', 'Ashford']) {
  towncensus('--notes', 'notes', '--foundry', `${town}.foundry.json`, `${town}.txt`);
}

// --- The notes ---------------------------------------------------------------

const markdown = new MarkdownIt();
const textOf = (inline) => inline.children.map((t) => (t.type === 'softbreak' ? '\n' : t.content)).join('');

const readNotes = (town) => {
  const folder = join(work, 'notes', town);
  const names = readdirSync(folder).filter((name) => name.endsWith('.md'));
  check(new Set(names.map((n) => n.toLowerCase())).size === names.length, `${town}: names distinct case-blind`);
  const notes = new Map();
  for (const name of names) {
    check(!/[/\\:*?"<>|#^[\]\u0000-\u001f]/.test(name) && !name.startsWith('.') &&
      Buffer.byteLength(name) <= 255, `${town}: ${name} is a safe file name`);
    const text = readFileSync(join(folder, name), 'utf8');
    const end = text.indexOf('\n---\n');
    check(text.startsWith('---\n') && end > 0, `${name}: front matter`);
    let properties = {};
    try {
      properties = YAML.parse(text.slice(4, end + 1), { uniqueKeys: true, strict: true, prettyErrors: false });
    } catch (error) {
      check(false, `${name}: YAML ${error.message}`);
    }
    notes.set(name.slice(0, -3), { properties, body: text.slice(end + 5), tokens: markdown.parse(text.slice(end + 5), {}) });
  }
  return notes;
};

const wikiLinks = (text) => [...text.matchAll(/(?<!\\)\[\[([^\]]+)\]\]/g)].map((m) => m[1]);

const checkNotes = (town, notes, nameOf) => {
  const types = new Map();
  for (const [stem, { properties, body, tokens }] of notes) {
    for (const [key, value] of Object.entries(properties)) {
      // Flat: a scalar, or a list of scalars; one type to a name.
      const type = Array.isArray(value) ? 'list' : typeof value;
      check(type !== 'object' && (type !== 'list' || value.every((v) => typeof v !== 'object')), `${stem}: ${key} is flat`);
      check((types.get(key) ?? type) === type, `${stem}: ${key} is a ${types.get(key)}, not a ${type}`);
      types.set(key, type);
      for (const text of [value].flat()) {
        if (typeof text !== 'string' || !/^\[\[.*\]\]$/.test(text)) continue;
        check(notes.has(text.slice(2, -2)), `${stem}: ${key} links to a note of the folder: ${text}`);
      }
    }
    const written = body.slice(0, body.indexOf('## As written'));
    for (const target of wikiLinks(written)) check(notes.has(target), `${stem}: links to a note of the folder: ${target}`);
    if (typeof properties.number !== 'number') continue;
    // A townsperson: the name as written in its property, its heading and its block.
    const name = nameOf(properties.number);
    check(properties.name === name, `${stem}: name property`);
    const heading = tokens.findIndex((t) => t.type === 'heading_open' && t.tag === 'h1');
    check(heading >= 0 && textOf(tokens[heading + 1]) === name, `${stem}: the heading shows the name as written`);
    const fence = tokens.find((t) => t.type === 'fence');
    check(fence && fence.content.startsWith(`${properties.number}) Name: ${name} `), `${stem}: the block as written`);
  }
  check(notes.size > 0, `${town}: notes`);
};

const hostile = readNotes('Hostile');
checkNotes('Hostile', hostile, (number) => HOSTILE_NAMES[number - 1]);
check(hostile.size === HOSTILE_NAMES.length + 1, 'a note for each hostile name and the town');
const ashfordBlocks = new Map(readFileSync(join(work, 'Ashford.txt'), 'utf8').split(/\r?\n\r?\n/)
  .map((block) => /^(\d+)\) Name: (.*?) Sex: /.exec(block)).filter(Boolean).map((m) => [Number(m[1]), m[2]]));
const ashford = readNotes('Ashford');
checkNotes('Ashford', ashford, (number) => ashfordBlocks.get(number));
check([...ashford.values()].some(({ properties }) => properties.household && properties.role), 'household properties');

// --- The Foundry file against Foundry's types ---------------------------------

const tsc = join(here, 'node_modules', 'typescript', 'bin', 'tsc');
for (const version of ['12', '13']) {
  const folder = join(work, `foundry${version}`);
  mkdirSync(folder);
  // The types are found as a package beside the check, as in a project of Foundry's.
  symlinkSync(join(here, 'node_modules'), join(folder, 'node_modules'), 'dir');
  cpSync(join(work, 'Ashford.foundry.json'), join(folder, 'town.json'));
  writeFileSync(join(folder, 'check.mts'),
    readFileSync(join(here, 'foundry_check.mts'), 'utf8').replaceAll('rollTables.v12', `rollTables.v${version}`));
  writeFileSync(join(folder, 'tsconfig.json'), JSON.stringify({
    compilerOptions: {
      target: 'ES2022', module: 'NodeNext', moduleResolution: 'NodeNext', strict: true, noEmit: true,
      resolveJsonModule: true, skipLibCheck: true, types: [`fvtt${version}`],
    },
    include: ['check.mts'],
  }));
  try {
    execFileSync(process.execPath, [tsc, '-p', folder], { encoding: 'utf8' });
  } catch (error) {
    check(false, `version ${version}'s types: ${error.stdout}`);
  }
}

// --- The import macro, against a stand-in of Foundry ---------------------------

const runMacro = async (fileText, generation, existing = new Set()) => {
  const made = [];
  const said = { info: [], error: [] };
  const documents = (kind) => ({
    createDocuments: async (data, options) => {
      made.push({ kind, data, options });
      return data;
    },
  });
  let chosen;
  const picker = {
    addEventListener: (event, handler) => { chosen = handler; },
    click: () => {},
  };
  const context = {
    document: { createElement: () => picker },
    Folder: documents('Folder'), JournalEntry: documents('JournalEntry'), RollTable: documents('RollTable'),
    game: { release: { generation }, journal: { get: (id) => (existing.has(id) ? {} : undefined) } },
    ui: { notifications: { info: (m) => said.info.push(m), error: (m) => said.error.push(m) } },
    JSON,
  };
  vm.runInNewContext(readFileSync(options.macro, 'utf8'), context);
  picker.files = [{ text: async () => fileText }];
  await chosen();
  return { made, said };
};

const foundryText = readFileSync(join(work, 'Ashford.foundry.json'), 'utf8');
const foundry = JSON.parse(foundryText);
for (const generation of [12, 13]) {
  const { made, said } = await runMacro(foundryText, generation);
  check(made.map((m) => m.kind).join() === 'Folder,JournalEntry,RollTable', `v${generation}: folders, entries, tables in turn`);
  check(made.every((m) => m.options.keepId === true && m.options.keepEmbeddedIds === true), `v${generation}: ids kept`);
  check(JSON.stringify(made[2]?.data) === JSON.stringify(foundry.rollTables[`v${generation}`]),
    `v${generation}: its own tables' shape`);
  check(said.error.length === 0 && said.info.length === 1, `v${generation}: says it imported`);
}
// What the macro refuses, creating nothing: a town imported already, another file, a broken one.
for (const [text, taken, words] of [[foundryText, [foundry.journal[0]._id], /already/],
  ['{"name":"x"}', [], /not a town file/], ['{', [], /could not be imported/]]) {
  const { made, said } = await runMacro(text, 13, new Set(taken));
  check(made.length === 0 && words.test(said.error[0]), `the macro refuses: ${said.error[0]}`);
}
const macro = readFileSync(options.macro, 'utf8');
const importer = macro.slice(macro.indexOf('async function importTown'), macro.indexOf('\n}\n') + 2);
check(importer.length > 100 && readFileSync(join(dirname(options.macro), 'foundry.md'), 'utf8').includes(importer),
  'docs/foundry.md gives the macro as the file holds it');

console.log(failures ? `${failures} checks failed` : 'every check passed');
process.exit(failures ? 1 : 0);
