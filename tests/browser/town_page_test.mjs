// Opens the page towncensus --html writes in a real browser (Debian's
// chromium, driven by playwright-core) and checks it against towncensus's own
// CSV and JSON exports of the same town.
//
//   node town_page_test.mjs --towngen BIN --towncensus BIN --work DIR [--screenshot PNG]
//
// Exits 0 when every check passes, 1 when one fails, 77 (skipped) when there
// is no browser or no playwright-core.
import { execFileSync } from 'node:child_process';
import { mkdirSync, readFileSync, rmSync, statSync, writeFileSync } from 'node:fs';
import { join, resolve } from 'node:path';
import { pathToFileURL } from 'node:url';
import {
  browserPath, browserTools, check, options, report, same, seriousFindings, smallTexts, watch,
} from './browser_checks.mjs';

const { chromium, axePath } = await browserTools();

// --- The towns -------------------------------------------------------------

const HOSTILE = {
  male: '<script>alert(1)</script>',
  female: '"><img/src=x/onerror=alert(1)>',
  last: '</script><script>alert(1)</script>',
  item: '"><img src=x onerror=alert(1)>',
};

const work = resolve(options.work);
for (const program of ['towngen', 'towncensus']) options[program] = resolve(options[program]);
rmSync(work, { recursive: true, force: true });
mkdirSync(work, { recursive: true });
const run = (program, ...args) => execFileSync(program, args, { cwd: work, encoding: 'utf8' });

run(options.towngen, '--init', 'data');
run(options.towngen, '--town', 'Ashford.txt', '--population', '1200', '--seed', '2026', '--data-dir', 'data');
run(options.towncensus, '--html', 'ashford.html', '--csv', 'ashford.csv', '--json', 'ashford.json', 'Ashford.txt');
run(options.towncensus, '--html', 'sample.html', '--roster-limit', '100', 'Ashford.txt');

// Few names, so that most townspeople carry a hostile one, and a hostile item
// in every category.
mkdirSync(join(work, 'hostile'));
writeFileSync(join(work, 'hostile/male.txt'), `${HOSTILE.male}\nHal\n`);
writeFileSync(join(work, 'hostile/female.txt'), `${HOSTILE.female}\nMaud\n`);
writeFileSync(join(work, 'hostile/last.txt'), `${HOSTILE.last}\nDunn\n`);
const categories = readFileSync(join(work, 'data/data.txt'), 'utf8').match(/\btcc\w+/g);
writeFileSync(join(work, 'hostile/data.txt'), '<note>\nOne hostile item in every category.\n</note>\n' +
  [...new Set(categories)].map((tag) => `${HOSTILE.item.replaceAll(' ', '_')} ${tag}\n`).join(''));
run(options.towngen, '--town', 'Hostile.txt', '--population', '300', '--seed', '7', '--data-dir', 'hostile');
run(options.towncensus, '--html', 'hostile.html', '--json', 'hostile.json', 'Hostile.txt');
// A right-to-left override in every free text: it must not turn the text after it around.
// An end of isolate (U+2069) before one would end the isolation early.
const RLO = '\u202E';
const PDI = '\u2069';
writeFileSync(join(work, 'Bidi.txt'), [
  `1) Name: Hal${RLO} Dunn${PDI}${RLO} Sex: Male Occupation: Farmer${PDI}${RLO}`,
  'Age: 30 Str: 9 Dex: 9 Con: 9 Int: 9 Wis: 9 Cha: 9 Com: 9', 'Coins:', '1000cp', 'Gems(s):',
  `Opal${PDI}${RLO} (50gp)`, 'Magic Item(s):', `Ring${PDI}${RLO}, Wand`].join('\r\n'));
run(options.towncensus, '--html', 'bidi.html', 'Bidi.txt');

// A hand-edited town: blanks towngen never writes, LF line ends, a gem value
// of its own; the page shows each block as it stands.
const editedBlocks = [
  '1) Name: Joan  Sex: Female Occupation: Fisher of  men\nAge: 30 Str: 18(7) Dex: 9 Con: 9 Int: 9 Wis: 9 Cha: 9 Com: 9\nCoins:\n0cp, 2pp',
  '2) Name: Hal  van  Dunn  Sex: Male Occupation: Farmer\nAge: 41 Str: 9 Dex: 9 Con: 9 Int: 9 Wis: 9 Cha: 9 Com: 9\nCoins:\n5cp\nGems(s):\nOpal (14.2gp) Jet (1e+06gp)\nMagic Item(s):\nRope, of, Climbing',
];
writeFileSync(join(work, 'Edited.txt'), editedBlocks.join('\n\n'));
run(options.towncensus, '--html', 'edited.html', 'Edited.txt');
// The page of a town of 100,000 carries each townsperson once: it is no
// larger than its town file.
run(options.towngen, '--town', 'Large.txt', '--population', '100000', '--seed', '1', '--data-dir', 'data', '--quiet');
run(options.towncensus, '--html', 'large.html', 'Large.txt');
// A household town: its cards list the household, and its blocks hold the
// household line.
run(options.towngen, '--town', 'Families.txt', '--population', '400', '--seed', '5', '--data-dir', 'data',
  '--households', '--quiet');
run(options.towncensus, '--html', 'families.html', '--csv', 'families.csv', 'Families.txt');
run(options.towncensus, '--html', 'families-sample.html', '--roster-limit', '100', 'Families.txt');
// The same town with the longest name the shipped lists make (25 letters
// and a blank) on its first townsperson.
const LONGEST_NAME = 'Blanchefleur Attenborough';
writeFileSync(join(work, 'Longest.txt'),
  readFileSync(join(work, 'Families.txt'), 'utf8').replace(/^1\) Name: \S+ \S+/, `1) Name: ${LONGEST_NAME}`));
run(options.towncensus, '--html', 'longest.html', 'Longest.txt');
// A town with traits, some of them hostile markup, which the page shows as text.
mkdirSync(join(work, 'traitdata'));
for (const name of ['male.txt', 'female.txt', 'last.txt', 'data.txt']) {
  writeFileSync(join(work, 'traitdata', name), readFileSync(join(work, 'data', name)));
}
writeFileSync(join(work, 'traitdata', 'traits.txt'), ['<note> </note>',
  'a_scar_over_one_eye appearance', '<img_src=x_onerror=alert(1)> appearance', 'scabbed_knees appearance/child',
  'speaks_slowly manner', '</script><b>bold manner', 'asks_why manner/child',
  'wants_land motive', 'wants_a_puppy motive/child', 'hums quirk', 'whistles quirk/child',
  'owes_a_gambling_debt secret', 'broke_a_window secret/child'].join('\n'));
run(options.towngen, '--town', 'Traits.txt', '--population', '300', '--seed', '8', '--data-dir', 'traitdata',
  '--traits', '--quiet');
run(options.towncensus, '--html', 'traits.html', '--csv', 'traits.csv', 'Traits.txt');
// A town with ties, households and traits.
run(options.towngen, '--town', 'Tied.txt', '--population', '400', '--seed', '9', '--data-dir', 'data',
  '--households', '--traits', '--ties', '--quiet');
run(options.towncensus, '--html', 'tied.html', '--json', 'tied.json', 'Tied.txt');
const largeRatio = statSync(join(work, 'large.html')).size / statSync(join(work, 'Large.txt')).size;
rmSync(join(work, 'Large.txt'));
const people = JSON.parse(readFileSync(join(work, 'ashford.json'), 'utf8'));
const blocks = readFileSync(join(work, 'Ashford.txt'), 'utf8').split('\r\n\r\n').map((b) => b.replace(/\r\n$/, '').replaceAll('\r\n', '\n'));

// The house a household town's child too young to work is named by.
const houseOf = (occupation) => (occupation === 'Noble' ? 'a noble house' : occupation === 'Farmer' ? 'a farmer\'s house'
  : occupation.startsWith('Unemployed') ? 'a house on hard times' : `the ${occupation.toLowerCase()}'s house`);

// RFC 4180, as towncensus writes it.
const parseCsv = (text) => {
  const rows = [];
  let row = [];
  let field = '';
  let quoted = false;
  for (let i = 0; i < text.length; i++) {
    const c = text[i];
    if (quoted) {
      if (c === '"' && text[i + 1] === '"') { field += '"'; i++; } else if (c === '"') quoted = false; else field += c;
    } else if (c === '"') quoted = true;
    else if (c === ',') { row.push(field); field = ''; } else if (c === '\r') { /* before \n */ } else if (c === '\n') { row.push(field); rows.push(row); row = []; field = ''; } else field += c;
  }
  const [header, ...records] = rows;
  return records.map((r) => Object.fromEntries(header.map((name, i) => [name, r[i]])));
};
const csv = parseCsv(readFileSync(join(work, 'ashford.csv'), 'utf8'));

// --- What the census says ------------------------------------------------

const CLASSES = ['Noble', 'Craftsman', 'Farmer'];
const SEXES = ['Male', 'Female'];
const tally = (keys) => {
  const counts = new Map();
  for (const key of keys) counts.set(key, (counts.get(key) || 0) + 1);
  return counts;
};
// Most common first; ties in byte order of the text, as the census sorts.
const mostCommon = (counts) => [...counts].sort((a, b) => b[1] - a[1] || (a[0] < b[0] ? -1 : a[0] > b[0] ? 1 : 0));
const grouped = (n) => n.toLocaleString('en');
const expectedBars = {
  classes: CLASSES.flatMap((c) => SEXES.map((s) =>
    `${c}, ${s}: ${grouped(people.filter((p) => p.class === c && p.sex === s).length)}`)),
  occupations: mostCommon(tally(people.map((p) => p.occupation))).slice(0, 30).map(([o, n]) => `${o}: ${grouped(n)}`),
  items: mostCommon(tally(people.flatMap((p) => p.magicItems))).slice(0, 10).map(([o, n]) => `${o}: ${grouped(n)}`),
  percentiles: Array.from({ length: 10 }, (_, band) => `${band * 10 + 1}\u2013${band * 10 + 10}: ${grouped(
    people.filter((p) => p.Str === 18 && Math.ceil(p.strPercentile / 10) === band + 1).length)}`),
};
for (const ability of ['Str', 'Dex', 'Con', 'Int', 'Wis', 'Cha', 'Com']) {
  expectedBars[`ability-${ability}`] = Array.from({ length: 16 }, (_, i) =>
    `${i + 3}: ${grouped(people.filter((p) => p[ability] === i + 3).length)}`);
}
const gemBounds = [10, 50, 100, 500, 1000, 5000];
const gemBand = (value) => gemBounds.filter((bound) => value >= bound).length;
const gemCounts = tally(people.flatMap((p) => p.gems.map((g) => gemBand(g.value))));
const gemLabels = ['under 10 gp', '10\u201350 gp', '50\u2013100 gp', '100\u2013500 gp', '500\u20131,000 gp',
  '1,000\u20135,000 gp', '5,000 gp and more'];
expectedBars.gems = gemLabels.map((label, band) => `${label}: ${grouped(gemCounts.get(band) || 0)}`);

// Bars whose labels name ranges ("20–29", "1–10 gp"): each must count the
// townspeople whose figure lies in it, and together they count everyone.
const countsInRanges = (titles, valueOf, seriesOf) => {
  let total = 0;
  for (const title of titles) {
    const match = title.match(/^(.*?)(?:, (\w+))?: ([\d,]+)$/);
    const count = Number(match[3].replaceAll(',', ''));
    total += count;
    const [low, high] = match[1].startsWith('under')
      ? [-Infinity, Number(match[1].replace(/\D/g, ''))]
      : match[1].replace(/ gp$/, '').split('\u2013').map((n) => Number(n.replaceAll(',', '')));
    const inside = people.filter((p) => seriesOf(p) === match[2] && valueOf(p) >= low &&
      (match[1].includes('gp') ? valueOf(p) < (high ?? Infinity) : valueOf(p) <= (high ?? low)));
    check(`bar "${title}"`, inside.length === count, `the JSON export counts ${inside.length}`);
  }
  check('the bars count everyone', total === people.length, `${total} of ${people.length}`);
};

const predictSearch = (query) => {
  const q = query.toLowerCase();
  return csv.filter((r) => [`${r.first_name} ${r.last_name}`, r.occupation, ...r.gems.split('; '), ...r.magic_items.split('; ')]
    .some((text) => text.toLowerCase().includes(q))).map((r) => Number(r.number));
};

// --- In the browser ------------------------------------------------------

const browser = await chromium.launch({ executablePath: browserPath, args: ['--no-sandbox'] });
const context = await browser.newContext({ viewport: { width: 1280, height: 900 } });
const open = async (file, hash = '', within = context) => {
  const url = pathToFileURL(join(work, file)).href;
  const page = await within.newPage();
  watch(page, url);
  await page.goto(url + hash);
  await page.waitForSelector('#roster tbody tr[data-position]', { timeout: 10000 });
  return page;
};
const rowNumbers = (page) => page.$$eval('#roster tbody tr[data-position] td:nth-child(2)', (cells) => cells.map((c) => Number(c.textContent)));
const status = (page) => page.textContent('#status');
// Escape closes the card at once, but its close event, which writes the
// address and hands the focus back to the roster, runs a task later: typing
// before it runs can land in the row instead of the field.
const closeCard = async (page) => {
  await page.keyboard.press('Escape');
  await page.waitForFunction(() => !new URLSearchParams(location.hash.slice(1)).has('person'));
};
const barTitles = (page, chart) => page.$$eval(`figure[data-chart="${chart}"] svg:not(.narrow) rect.bar title`, (titles) => titles.map((t) => t.textContent));

// Every townsperson's card, from the first in the view on, as [number, the
// block "As written in the town file"], by the card's Next button.
const everyCard = async (page, count) => {
  await page.click('#roster tbody tr[data-position="0"] td.name');
  const cards = await page.evaluate((count) => {
    const seen = [];
    for (let i = 0; i < count; i++) {
      seen.push([Number(document.getElementById('card-line').textContent.match(/No\. (\d+)/)[1]),
        document.getElementById('block-text').textContent]);
      document.getElementById('card-next').click();
    }
    return seen;
  }, count);
  await closeCard(page);
  return cards;
};

try {
  check('the page of a town of 100,000 is no larger than its town file', largeRatio <= 1, largeRatio.toFixed(2));
  // At 1280 pixels the roster of 100,000 fits its box, and sorted each way
  // by any heading no name, number or sex in sight is cut, nor any heading;
  // only the occupations and items are.
  const large = await open('large.html');
  const sortButtons = await large.$$eval('#roster thead button', (buttons) => buttons.length);
  const cutCells = [];
  const cutNow = (what) => large.evaluate((what) => [...document.querySelectorAll(
    '#roster tbody tr[data-position] td, #roster tbody td .score, #roster thead button')]
    .filter((cell) => !/occupation|items|tick/.test(cell.className) && cell.scrollWidth > cell.clientWidth + 1)
    .map((cell) => `${what}: "${cell.textContent}"`), what);
  const sorts = new Set();
  for (let button = 0; button < sortButtons; button++) {
    for (const way of ['one way', 'the other']) {
      await large.click(`#roster thead button >> nth=${button}`);
      cutCells.push(...await cutNow(`sorted by heading ${button + 1}, ${way}`));
      const params = new URLSearchParams((await large.evaluate(() => location.hash)).slice(1));
      sorts.add(`${params.get('sort') || 'number'} ${params.get('order') || 'asc'}`);
    }
  }
  same('no name, number, sex or heading is cut, sorted either way by any heading', cutCells.slice(0, 5), []);
  same('each heading sorts both ways', sorts.size, 2 * sortButtons);
  same('the roster of 100,000 fits its box at 1280 pixels', await large.evaluate(() =>
    document.getElementById('roster').scrollWidth <= document.getElementById('roster-scroll').clientWidth), true);
  await large.close();

  const page = await open('ashford.html');
  // The page carries each townsperson once; the script rebuilds the block.
  const rebuilt = (await everyCard(page, people.length)).filter(([number, block]) => block !== blocks[number - 1]);
  same('every block the page rebuilds is the town file\'s', rebuilt.map(([number]) => number), []);
  const edited = await open('edited.html');
  const editedCards = await everyCard(edited, editedBlocks.length);
  same('a hand-edited town\'s blocks show as written', editedCards.map(([, block]) => block), editedBlocks);
  await edited.close();

  for (const [chart, bars] of Object.entries(expectedBars)) same(`chart ${chart}`, await barTitles(page, chart), bars);
  countsInRanges(await barTitles(page, 'ages'), (p) => p.age, (p) => p.sex);
  countsInRanges(await barTitles(page, 'wealth'), (p) => p.wealthGp, (p) => p.class);

  for (const query of ['opal', 'WAND', 'smith', 'no such townsperson']) {
    await page.fill('#search', query);
    const predicted = predictSearch(query);
    same(`search "${query}": count`, await status(page),
      predicted.length === people.length ? `${grouped(people.length)} townspeople` : `${grouped(predicted.length)} of ${grouped(people.length)} townspeople`);
    const shown = await rowNumbers(page);
    same(`search "${query}": rows`, shown, predicted.slice(0, shown.length));
    check(`search "${query}": only rows in sight are in the document`, shown.length < 80 || predicted.length < 80, `${shown.length} rows`);
  }

  await page.fill('#search', '');  // the last search matched no one: the roster was hidden
  const columnWidths = () => page.$$eval('#roster thead th', (cells) => cells.map((c) => Math.round(c.getBoundingClientRect().width)));
  const widthsBefore = await columnWidths();
  // "Someone in town" opens only townspeople of the current view.
  await page.fill('#search', 'smith');
  const smiths = new Set(predictSearch('smith'));
  const picked = [];
  for (let press = 0; press < 20; press++) {
    await page.click('#someone');
    picked.push(Number((await page.textContent('#card-line')).match(/No\. (\d+)/)[1]));
    await closeCard(page);
  }
  check('"Someone in town" picks only from the view', picked.every((n) => smiths.has(n)), picked.join(' '));
  check('"Someone in town" picks at random', new Set(picked).size > 1, picked.join(' '));
  await page.fill('#search', '');
  same('column widths stay put through searches', await columnWidths(), widthsBefore);

  // The whole header cell sorts, near its edge too; names sort by last name, then first.
  await page.$eval('#roster-scroll', (scroller) => scroller.scrollIntoView());
  const nameCell = await page.$('#roster thead th:nth-child(3)');
  const nameBox = await nameCell.boundingBox();
  await page.mouse.click(nameBox.x + nameBox.width - 3, nameBox.y + nameBox.height - 3);
  const byName = new Intl.Collator(undefined, { sensitivity: 'base', numeric: true });
  const byLastName = [...csv].sort((a, b) => byName.compare(a.last_name, b.last_name) ||
    byName.compare(a.first_name, b.first_name) || Number(a.number) - Number(b.number)).map((r) => Number(r.number));
  same('sorted by last name, then first name', (await rowNumbers(page)).slice(0, 20), byLastName.slice(0, 20));
  same('column widths stay put through sorts', await columnWidths(), widthsBefore);


  await page.click('th >> text=Wealth gp');
  const byWealth = [...people].sort((a, b) => b.wealthGp - a.wealthGp || a.number - b.number).map((p) => p.number);
  same('sorted by wealth, richest first', (await rowNumbers(page)).slice(0, 20), byWealth.slice(0, 20));

  await page.click('#roster tbody tr[data-position="0"]');
  same('the opened row shows its block', await page.textContent('#block-text'), blocks[byWealth[0] - 1]);
  await closeCard(page);

  await page.keyboard.press('/');
  // Under load the key may be handled a moment later: wait for it, briefly.
  await page.waitForFunction(() => document.activeElement?.id === 'search', null, { timeout: 3000 })
    .catch(() => {});
  same('"/" focuses the search', await page.evaluate(() => document.activeElement.id), 'search');
  await page.focus('#roster tbody tr[tabindex="0"]');
  await page.keyboard.press('ArrowDown');
  await page.keyboard.press('ArrowDown');
  await page.keyboard.press('Enter');
  same('arrow keys and Enter open the third row', await page.textContent('#block-text'), blocks[byWealth[2] - 1]);
  await page.keyboard.press('ArrowRight');
  same('the arrow keys move the card to the next townsperson', await page.textContent('#block-text'), blocks[byWealth[3] - 1]);
  await page.click('#card-previous');
  await page.click('#card-previous');
  same('Previous moves the card back', await page.textContent('#block-text'), blocks[byWealth[1] - 1]);
  await closeCard(page);

  await page.selectOption('#class-filter', 'Craftsman');
  await page.selectOption('#sex-filter', 'Female');
  await page.fill('#search', 'a');
  await page.click('th >> text=Age');
  const hash = await page.evaluate(() => location.hash);
  const view = { rows: await rowNumbers(page), status: await status(page) };
  const restored = await open('ashford.html', hash);
  same('the address restores the view', {
    rows: await rowNumbers(restored), status: await status(restored),
    search: await restored.inputValue('#search'), socialClass: await restored.inputValue('#class-filter'),
    sex: await restored.inputValue('#sex-filter'),
  }, { ...view, search: 'a', socialClass: 'Craftsman', sex: 'Female' });
  const expectedView = people.filter((p) => p.class === 'Craftsman' && p.sex === 'Female')
    .map((p) => p.number).filter((n) => predictSearch('a').includes(n))
    .sort((a, b) => people[b - 1].age - people[a - 1].age || a - b);
  same('that view is the right one', view.rows, expectedView.slice(0, view.rows.length));

  await page.evaluate(() => { location.hash = ''; });
  await page.evaluate(() => window.scrollTo(0, 0));
  if (options.screenshot) await page.screenshot({ path: options.screenshot, fullPage: false });

  // A card has an address of its own.
  const addressed = await open('ashford.html', '#person=37');
  await addressed.waitForSelector('#block-dialog[open]');
  same('#person=37 opens the card of townsperson 37', await addressed.textContent('#block-text'), blocks[36]);
  check('a noble\'s card says "Noble" once', (await addressed.textContent('#card-line')).endsWith('\u00b7 Noble') &&
    !(await addressed.textContent('#card-line')).includes('Noble \u00b7 Noble'));
  await addressed.click('#card-next');
  check('the address follows the card', (await addressed.evaluate(() => location.hash)).includes('person=38'));
  await addressed.close();

  // Print: the census and the whole filtered roster.
  await page.emulateMedia({ media: 'print' });
  await page.setViewportSize({ width: 688, height: 900 });  // A4 within its margins, as below
  await page.evaluate(() => window.dispatchEvent(new Event('beforeprint')));
  check('print shows every row of the view', (await rowNumbers(page)).length === people.length);
  same('the printed roster has every column, within the page', await page.$$eval('#roster thead th',
    (cells) => cells.filter((th) => getComputedStyle(th).display !== 'none')
      .map((th) => [th.textContent, th.getBoundingClientRect().right <= 688])),
    ['#', 'Name', 'Sex', 'Occupation', 'Age', 'Abilities: StrDexConIntWisChaCom', 'Magic items', 'Wealth gp']
      .map((label) => [label, true]));
  same('the printed roster cuts no cell: names, occupations and items wrap', await page.$$eval(
    '#roster tbody tr[data-position] td', (cells) => cells.filter((cell) => cell.scrollWidth > cell.clientWidth + 1 ||
      [...cell.querySelectorAll('.clip')].some((clip) => clip.scrollWidth > clip.clientWidth + 1))
      .slice(0, 3).map((cell) => cell.textContent)), []);
  await page.evaluate(() => window.dispatchEvent(new Event('afterprint')));
  await page.emulateMedia({ media: 'screen' });
  await page.setViewportSize({ width: 1280, height: 900 });

  const hostile = await open('hostile.html');
  const names = await hostile.$$eval('#roster tbody td.name', (cells) => cells.map((c) => c.textContent));
  check('hostile first names show as text', names.includes(`${HOSTILE.male} ${HOSTILE.last}`), names.slice(0, 4).join(' | '));
  check('hostile first names show as text', names.includes(`${HOSTILE.female} ${HOSTILE.last}`), names.slice(0, 4).join(' | '));
  await hostile.fill('#search', 'img src=x onerror');
  check('a hostile item can be searched for', !(await status(hostile)).startsWith('0 '));
  await hostile.click('#roster tbody tr[data-position="0"]');
  // The card shows every field as the JSON export holds it, as text.
  const card = await hostile.evaluate(() => ({
    number: Number(document.getElementById('card-line').textContent.match(/No\. (\d+)/)[1]),
    title: document.getElementById('block-title').textContent,
    abilities: [...document.querySelectorAll('#card-abilities .ability-score')].map((e) => e.textContent),
    facts: Object.fromEntries([...document.querySelectorAll('#card-facts div')].map((d) =>
      [d.querySelector('dt').textContent, [...d.querySelectorAll('dd')].map((e) => e.textContent)])),
  }));
  const person = JSON.parse(readFileSync(join(work, 'hostile.json'), 'utf8')).find((p) => p.number === card.number);
  const twoDecimals = (value) => value.toLocaleString('en', { minimumFractionDigits: 2, maximumFractionDigits: 2 });
  same('the card names the townsperson', card.title, `${person.firstName} ${person.lastName}`);
  same('the card shows the abilities', card.abilities, ['Str', 'Dex', 'Con', 'Int', 'Wis', 'Cha', 'Com'].map((a, i) =>
    (i === 0 && person.strPercentile ? `18/${String(person.strPercentile % 100).padStart(2, '0')}` : String(person[a]))));
  check('the card shows the coins', card.facts.Coins[0].startsWith(['cp', 'sp', 'ep', 'gp', 'pp']
    .map((c) => `${person.coins[c].toLocaleString('en')} ${c}`).join(', ')), card.facts.Coins[0]);
  same('the card shows each gem', card.facts.Gems,
    person.gems.length ? person.gems.map((g) => `${g.name} (${twoDecimals(g.value)} gp)`) : ['none']);
  same('the card shows each magic item by name', card.facts['Magic items'], person.magicItems);
  same('the card shows the wealth', card.facts.Wealth, [`${twoDecimals(person.wealthGp)} gp in coins and gems`]);
  const block = await hostile.textContent('#block-text');
  check('the opened block shows the hostile texts as text', block.endsWith(`Magic Item(s):\n${HOSTILE.item}`), block);
  await closeCard(hostile);
  same('nothing was added to the page', await hostile.evaluate(() => ({
    scripts: document.scripts.length, images: document.images.length, ran: typeof window.alert === 'function',
  })), { scripts: 2, images: 0, ran: true });
  const itemBars = await barTitles(hostile, 'items');
  check('the item chart names the hostile item as text', itemBars.some((t) => t.startsWith(HOSTILE.item)), itemBars.join(' | '));

  // An empty result says so, with a way out; "Someone in town" says why it cannot pick.
  const empty = await open('ashford.html');
  await empty.evaluate(() => { location.hash = 'q=no-one-is-named-so'; });
  await empty.waitForSelector('#no-match', { state: 'visible', timeout: 5000 }).catch(() => {});
  check('an empty result says no one matches, in place of an empty box',
    await empty.isVisible('#no-match') && !(await empty.isVisible('#roster-scroll')));
  await empty.click('#someone');
  same('"Someone in town" says why it cannot pick', await status(empty),
    'No one can be picked: no one in town matches the search and filters.');
  await empty.click('#clear-filters');
  same('clearing shows the whole town again', await status(empty), `${grouped(people.length)} townspeople`);
  same('clearing empties the address', await empty.evaluate(() => location.hash), '');
  await empty.close();

  // The filters, with the search: each read from the address, shown in its
  // field, and written back when changed.
  const inFilters = (r, { occupation = 'Farmer', ageFrom = 20, ageTo = 29, wealthFrom = 5, gems = true, items = false }) =>
    r.occupation === occupation && +r.age >= ageFrom && +r.age <= ageTo && +r.wealth_gp >= wealthFrom &&
    (!gems || r.gems !== '') && (!items || r.magic_items !== '');
  const searched = new Set(predictSearch('an'));
  const countOf = (filters) => csv.filter((r) => searched.has(Number(r.number)) && inFilters(r, filters)).length;
  const filtered = await open('ashford.html',
    '#q=an&occupation=Farmer&age-from=20&age-to=29&wealth-from=5&with-gems=1');
  same('the filters from the address', await status(filtered),
    `${grouped(countOf({}))} of ${grouped(people.length)} townspeople`);
  same('the filters\' fields show the address', await filtered.evaluate(() => [
    document.getElementById('occupation-filter').value, document.getElementById('age-from').value,
    document.getElementById('age-to').value, document.getElementById('wealth-from').value,
    document.getElementById('wealth-to').value, document.getElementById('with-gems').checked,
    document.getElementById('with-items').checked]), ['Farmer', '20', '29', '5', '', true, false]);
  await filtered.click('#with-gems');
  await filtered.click('#with-items');
  await filtered.fill('#age-to', '40');
  same('changed filters count', await status(filtered),
    `${grouped(countOf({ gems: false, items: true, ageTo: 40 }))} of ${grouped(people.length)} townspeople`);
  same('changed filters go into the address', await filtered.evaluate(() => location.hash),
    '#q=an&occupation=Farmer&age-from=20&age-to=40&wealth-from=5&with-items=1');
  await filtered.close();

  // Text direction stays within each name, occupation, gem and item.
  const bidi = await open('bidi.html');
  // Whether the characters `from` and `to` of `text`, within `selector`, show
  // left to right.
  const leftToRight = (selector, text, from, to) => bidi.evaluate(([selector, text, from, to]) => {
    const walker = document.createTreeWalker(document.querySelector(selector), NodeFilter.SHOW_TEXT);
    let node = null;
    while (!node && walker.nextNode()) if (walker.currentNode.data.includes(text)) node = walker.currentNode;
    if (!node) return false;
    const at = node.data.indexOf(text);
    const x = (i) => {
      const range = document.createRange();
      range.setStart(node, at + i);
      range.setEnd(node, at + i + 1);
      return range.getBoundingClientRect().x;
    };
    return x(from) < x(to);
  }, [selector, text, from, to]);
  check('a notable\'s detail reads left to right after an overriding name',
    await leftToRight('#notables', 'age 30', 0, 4));
  await bidi.click('#roster tbody tr[data-position="0"]');
  check('a gem\'s value reads left to right after an overriding gem name',
    await leftToRight('#card-facts', ' (50.00 gp)', 2, 7));
  await closeCard(bidi);
  check('an item reads after an overriding one', await bidi.evaluate(() => {
    const [ring, wand] = document.querySelectorAll('#roster tbody td.items bdi');
    return Boolean(wand) && ring.getBoundingClientRect().x < wand.getBoundingClientRect().x;
  }));

  // Notables count the whole town and open their cards.
  const notables = await page.$$eval('#notables ol', (lists) => lists.map((ol) =>
    [...ol.querySelectorAll('a')].map((a) => Number(a.dataset.person))));
  const ranked = (key) => [...csv].sort((a, b) => Number(b[key]) - Number(a[key]) || Number(a.number) - Number(b.number))
    .slice(0, 5).map((r) => Number(r.number));
  same('the richest five agree with the CSV', notables[0], ranked('wealth_gp'));
  same('the eldest five agree with the CSV', notables[3], ranked('age'));
  const carriers = csv.filter((r) => r.magic_items.split('; ').length >= 3).map((r) => Number(r.number));
  if (carriers.length <= 10) same('everyone with three or more magic items is named', notables[1], carriers);
  await page.click(`#notables a[data-person="${notables[0][0]}"]`);
  same('a notable opens their card', await page.textContent('#block-text'), blocks[notables[0][0] - 1]);
  await closeCard(page);
  await page.click('#show-nobles');
  same('the nobles link filters the roster', await status(page),
    `${grouped(csv.filter((r) => r.class === 'Noble').length)} of ${grouped(csv.length)} townspeople`);
  await page.selectOption('#class-filter', '');

  // Past the limit the roster samples every k-th townsperson, so each class keeps its share.
  const sample = await open('sample.html');
  const notice = await sample.textContent('#roster-limit');
  const stride = Number(notice.match(/every (\d+)/)[1]);
  const sampled = await sample.evaluate(() => JSON.parse(document.getElementById('town-data').textContent).roster.map((r) => r[5]));
  const expectedClasses = tally(csv.filter((r, i) => i % stride === 0).map((r) => CLASSES.indexOf(r.class)));
  const sampledClasses = tally(sampled);
  check('the sample keeps each class\'s share', [0, 1, 2].every((c) =>
    Math.abs((sampledClasses.get(c) || 0) - (expectedClasses.get(c) || 0)) <= 1), `${notice} ${[...sampledClasses]}`);
  same('the sample\'s notables still count the whole town',
    (await sample.$$eval('#notables ol', (lists) => [...lists[0].querySelectorAll('a')].map((a) => Number(a.dataset.person)))),
    ranked('wealth_gp'));
  await sample.close();

  // Print cards: three ticked townspeople, as cards two to a row.
  await page.evaluate(() => { window.print = () => {}; });
  for (const position of [0, 1, 2]) await page.click(`#roster tbody tr[data-position="${position}"] td.tick`);
  check('ticks are counted', (await status(page)).endsWith('3 ticked'), await status(page));
  const tickedNames = await page.$$eval('#roster tbody tr[data-position] td.name', (cells) => cells.slice(0, 3).map((c) => c.textContent));
  await page.click('#print-cards');
  await page.emulateMedia({ media: 'print' });
  // The width A4 leaves within its margins (210 less 2 x 14 mm, at 96 pixels an inch).
  await page.setViewportSize({ width: 688, height: 900 });
  const printed = await page.$$eval('#print-sheet .print-card', (cards) => cards.map((card) => {
    const box = card.getBoundingClientRect();
    return { name: card.querySelector('h2').textContent, town: card.querySelector('.card-town').textContent,
      top: Math.round(box.top), left: Math.round(box.left), right: box.right };
  }));
  check('every card prints whole within the width of A4, its right-hand line too',
    printed.every((c) => c.left >= 0 && c.right <= 688), JSON.stringify(printed));
  same('every card names the town', printed.map((c) => c.town), ['Ashford', 'Ashford', 'Ashford']);
  await page.setViewportSize({ width: 1280, height: 900 });
  same('the ticked townspeople print as cards', printed.map((c) => c.name), tickedNames);
  check('cards sit two to a row', printed.length === 3 && printed[0].top === printed[1].top &&
    printed[1].left > printed[0].left && printed[2].top > printed[0].top, JSON.stringify(printed));
  check('only the cards print', !(await page.isVisible('#roster')) && !(await page.isVisible('#census')));
  await page.evaluate(() => window.dispatchEvent(new Event('afterprint')));
  await page.emulateMedia({ media: 'screen' });

  // A phone: no sideways scrolling, no text under 12 pixels, the roster as compact cards.
  const phoneContext = await browser.newContext({ viewport: { width: 390, height: 844 }, isMobile: true, hasTouch: true });
  const phone = await open('ashford.html', '', phoneContext);
  same('at 390 pixels the page is no wider than the window',
    await phone.evaluate(() => document.documentElement.scrollWidth), 390);
  same('at 390 pixels no text is smaller than 12 pixels', await smallTexts(phone), []);
  same('the roster shows compact cards', await phone.$eval('#roster tbody tr[data-position]', (row) => ({
    display: getComputedStyle(row).display, head: getComputedStyle(row.closest('table').tHead).display,
  })), { display: 'grid', head: 'none' });
  await phone.selectOption('#sort-select', 'wealth');
  same('a phone sorts by wealth', (await rowNumbers(phone)).slice(0, 5), byWealth.slice(0, 5));
  // The roster scrolls with the page, which draws the rows in the window.
  same('on a phone the roster has no scroll box of its own',
    await phone.$eval('#roster-scroll', (box) => getComputedStyle(box).overflowY), 'visible');
  await phone.evaluate(() => window.scrollTo(0, document.documentElement.scrollHeight));
  await phone.waitForSelector(`#roster tbody tr[data-position="${people.length - 1}"]`, { state: 'attached', timeout: 5000 })
    .catch(() => {});
  same('scrolled to the page\'s end, the phone draws the roster\'s last rows, and only those in sight',
    await phone.evaluate(() => {
      const rows = document.querySelectorAll('#roster tbody tr[data-position]');
      return [rows.length < 100, rows[rows.length - 1]?.dataset.position];
    }), [true, String(people.length - 1)]);
  await phone.evaluate(() => window.scrollTo(0, 0));
  await phone.tap('#roster tbody tr[data-position="0"] td.name');
  same('a compact card opens the character card', await phone.textContent('#block-text'), blocks[byWealth[0] - 1]);
  await closeCard(phone);
  await phoneContext.close();

  // A household town: a head's card lists the household, each member a link
  // to their card; the roster filters to one household and finds a family by
  // its name; the block shown is the file's, household line and all.
  const familyBlocks = readFileSync(join(work, 'Families.txt'), 'utf8').split('\r\n\r\n')
    .map((b) => b.replace(/\r\n$/, '').replaceAll('\r\n', '\n'));
  const familyCsv = parseCsv(readFileSync(join(work, 'families.csv'), 'utf8'));
  const head = familyCsv.find((r) => r.role === 'head' && familyCsv.filter((m) => m.household === r.number).length >= 4);
  const members = familyCsv.filter((r) => r.household === head.number);
  const families = await open('families.html', `#person=${head.number}`);
  await families.waitForSelector('#block-dialog[open]');
  same('a head\'s card lists the household, each with role and age',
    await families.$$eval('#card-facts dt', (terms) => {
      const household = terms.find((t) => t.textContent === 'Household');
      return [...household.parentElement.querySelectorAll('dd')].slice(0, -1).map((dd) => dd.textContent);
    }), members.map((m) => `${m.first_name} ${m.last_name}, ${m.role}, age ${m.age}`));
  same('the card shows the file\'s block, household line and all', await families.textContent('#block-text'),
    familyBlocks[Number(head.number) - 1]);
  await families.click(`#card-facts a[data-person="${members[1].number}"]`);
  same('a member\'s link opens that member\'s card', await families.textContent('#card-line'),
    `No. ${members[1].number} \u00b7 ${members[1].sex} \u00b7 age ${members[1].age} \u00b7 ` +
    (Number(members[1].age) < 12 ? `${members[1].role} of ${houseOf(members[1].occupation)}` : members[1].class +
      (members[1].occupation === members[1].class ? '' : ` \u00b7 ${members[1].occupation}`)));
  await families.click('#card-facts a[data-household]');
  await families.waitForFunction(() => !document.getElementById('block-dialog').open);
  same('"Show in the roster" filters to the household', [await rowNumbers(families), await families.evaluate(() => location.hash),
    await status(families)],
  [members.map((m) => Number(m.number)), `#household=${head.number}`,
    `${members.length} of 400 townspeople \u00b7 the household of No. ${head.number}`]);
  await families.click('#show-everyone');
  same('"Show everyone" ends the household filter', [await status(families), await families.isVisible('#show-everyone')],
    ['400 townspeople', false]);
  await families.goto(pathToFileURL(join(work, 'families.html')).href + `#q=${encodeURIComponent(head.last_name)}`);
  await families.waitForSelector('#roster tbody tr[data-position]');
  const found = new Set(await rowNumbers(families));
  check('searching the family\'s name finds every member who bears it',
    members.filter((m) => m.last_name === head.last_name).every((m) => found.has(Number(m.number))));
  await families.click('#household-pick');
  await families.waitForSelector('#block-dialog[open]');
  const pickedHead = (await families.textContent('#block-text')).match(/\nHousehold: (\d+) head/);
  check('"A household in town" opens a head\'s card', pickedHead !== null);
  await families.evaluate(() => { window.print = () => {}; });
  await families.click('#card-facts button[data-print-household]');
  same('"Print the household" prints its members\' cards',
    await families.$$eval('#print-sheet .print-card h2', (titles) => titles.map((t) => t.textContent)),
    familyCsv.filter((r) => pickedHead && r.household === pickedHead[1]).map((r) => `${r.first_name} ${r.last_name}`));
  await families.evaluate(() => window.dispatchEvent(new Event('afterprint')));
  await families.close();
  // A page holding a sample of the town says so where it lists a household.
  const familySample = await open('families-sample.html');
  await familySample.click('#roster tbody tr[data-position="0"] td.name');
  await familySample.waitForSelector('#block-dialog[open]');
  same('a sampled page\'s household list says it lacks who the page lacks',
    await familySample.$$eval('#card-facts .household-note', (notes) => notes.map((n) => n.textContent)),
    ['Members outside this page\u2019s sample are not listed.']);
  await familySample.close();

  // A household town's roster at 1280 pixels: the longest name whole, each
  // member's role and household, and a child too young to work named by the
  // house on the roster and the card, never by the family's trade.
  const longest = await open('longest.html');
  same('the longest name the shipped lists make shows whole', await longest.$eval(
    '#roster tbody tr[data-position="0"] td.name', (cell) => [cell.textContent, cell.scrollWidth <= cell.clientWidth + 1]),
  [LONGEST_NAME, true]);
  const child = familyCsv.find((r) => Number(r.age) < 12 && r.household !== r.number && Number(r.number) <= 20);
  const childRow = await longest.$$eval('#roster tbody tr[data-position]', (rows, number) => {
    const row = rows.find((r) => r.children[1].textContent === number);
    return row && [row.querySelector('td.occupation').textContent, row.querySelector('td.household').textContent];
  }, child.number);
  const house = houseOf(child.occupation);
  same('a child\'s row names the house and the household', childRow,
    [`${child.role} of ${house}`, `${child.role} of No. ${Number(child.household).toLocaleString('en')}`]);
  await longest.click(`#roster tbody tr[data-position="${Number(child.number) - 1}"] td.name`);
  same('a child\'s card names the house, not the trade', await longest.textContent('#card-line'),
    `No. ${child.number} \u00b7 ${child.sex} \u00b7 age ${child.age} \u00b7 ${child.role} of ${house}`);
  await closeCard(longest);
  await longest.close();

  // A town with traits: the card shows them under the name, as text; the
  // search finds them; printed cards carry them.
  const traitCsv = parseCsv(readFileSync(join(work, 'traits.csv'), 'utf8'));
  const withTraits = await open('traits.html', '#person=1');
  await withTraits.waitForSelector('#block-dialog[open]');
  const KINDS = ['appearance', 'manner', 'motive', 'quirk', 'secret'];
  same('the card shows the traits under the name', await withTraits.$$eval('#card-traits dd', (dds) => dds.map((d) => d.textContent)),
    KINDS.map((kind) => traitCsv[0][kind]));
  same('hostile traits show as text and run nothing', await withTraits.evaluate(() =>
    [document.images.length, document.querySelectorAll('#block-dialog b').length]), [0, 0]);
  await closeCard(withTraits);
  for (const query of ['scar', 'gambling debt']) {
    await withTraits.fill('#search', query);
    const searched = (r) => [`${r.first_name} ${r.last_name}`, r.occupation, r.gems, r.magic_items, ...KINDS.map((k) => r[k])];
    const expected = traitCsv.filter((r) => searched(r).some((text) => text.toLowerCase().includes(query)))
      .map((r) => Number(r.number));
    check(`searching "${query}" finds the traits`, traitCsv.some((r) => KINDS.some((kind) => r[kind].includes(query))));
    const shown = await rowNumbers(withTraits);
    same(`searching "${query}" finds every townsperson with it`, [await status(withTraits), shown],
      [`${expected.length} of 300 townspeople`, expected.slice(0, shown.length)]);
    const found = await withTraits.$$eval('#roster tbody td.found', (cells) => cells.map((c) => c.textContent));
    check(`searching "${query}", each row says where it was found`, found.length === shown.length &&
      found.every((text) => /^[a-z ]+: /.test(text) && text.toLowerCase().includes(query)), found.slice(0, 3).join(' | '));
  }
  await withTraits.evaluate(() => { window.print = () => {}; });
  await withTraits.fill('#search', '');
  await withTraits.click('#roster tbody tr[data-position="0"] td.tick');
  await withTraits.click('#print-cards');
  same('a printed card carries the traits', await withTraits.$$eval('#print-sheet .card-traits dd', (dds) => dds.map((d) => d.textContent)),
    KINDS.map((kind) => traitCsv[0][kind]));
  await withTraits.evaluate(() => window.dispatchEvent(new Event('afterprint')));
  await withTraits.close();

  // A town with ties: the card lists each tie with the one tied to as a link
  // and their occupation; a trait that speaks of someone links them; "Show
  // their ties in the roster" filters to them; printed cards carry the ties.
  const tiedPeople = JSON.parse(readFileSync(join(work, 'tied.json'), 'utf8'));
  const tiedBlocks = readFileSync(join(work, 'Tied.txt'), 'utf8').split('\r\n\r\n')
    .map((b) => b.replace(/\r\n$/, '').replaceAll('\r\n', '\n'));
  const JOINS = { owes: ' to ', owed: ' by ' };
  const tieText = (t) => {
    const q = tiedPeople[t.with - 1];
    return `${t.kind}${t.amountGp ? ` ${t.amountGp.toLocaleString('en')} gp` : ''}${JOINS[t.kind] || ' '}` +
      `${q.firstName} ${q.lastName}, ${q.occupation}`;
  };
  const tiedOne = tiedPeople.find((p) => p.ties.length >= 2 && p.ties.every((t) => tiedPeople[t.with - 1].age >= 12));
  const tied = await open('tied.html', `#person=${tiedOne.number}`);
  await tied.waitForSelector('#block-dialog[open]');
  const tieLines = () => tied.$$eval('#card-facts dt', (terms) => {
    const ties = terms.find((t) => t.textContent === 'Ties');
    return [...ties.parentElement.querySelectorAll('dd')].map((dd) => dd.textContent);
  });
  same('a card lists each tie, with the one tied to and their occupation', await tieLines(),
    [...tiedOne.ties.map(tieText), 'Show their ties in the roster']);
  same('the card shows the file\'s block, ties line and all', await tied.textContent('#block-text'),
    tiedBlocks[tiedOne.number - 1]);
  await tied.click(`#card-facts a[data-person="${tiedOne.ties[0].with}"]`);
  same('a tie\'s link opens the card of the one tied to', await tied.textContent('#block-title'),
    `${tiedPeople[tiedOne.ties[0].with - 1].firstName} ${tiedPeople[tiedOne.ties[0].with - 1].lastName}`);
  await tied.goto(pathToFileURL(join(work, 'tied.html')).href + `#person=${tiedOne.number}`);
  await tied.waitForSelector('#block-dialog[open]');
  await tied.click('#card-facts a[data-tied]');
  await tied.waitForFunction(() => !document.getElementById('block-dialog').open);
  const tiedNumbers = [tiedOne.number, ...tiedOne.ties.map((t) => t.with)].sort((a, b) => a - b);
  same('"Show their ties in the roster" filters to them', [await rowNumbers(tied), await tied.evaluate(() => location.hash),
    await status(tied)],
  [tiedNumbers, `#tied=${tiedOne.number}`, `${tiedNumbers.length} of 400 townspeople \u00b7 No. ${tiedOne.number} and those tied to them`]);
  await tied.click('#show-everyone');
  same('"Show everyone" ends the ties filter', await status(tied), '400 townspeople');
  // A trait that speaks of someone names the one its tie is to.
  const SPOKEN = [[/(^| )(rival|grudge|revenge)/, ['rival']], [/(^| )(love|sweetheart)/, ['love', 'secret love']],
    [/(^| )(owes|debt)/, ['owes']], [/(^| )(patron|protector)/, ['patron of', 'client of', 'employs', 'works for']]];
  const spokenTie = (p) => {
    for (const trait of Object.values(p.traits)) {
      const [, kinds] = SPOKEN.find(([words]) => trait && words.test(trait)) || [];
      const tie = kinds && p.ties.find((t) => kinds.includes(t.kind));
      if (tie) return tie;
    }
    return null;
  };
  const speaking = tiedPeople.find(spokenTie);
  check('the town holds a trait that speaks of someone', speaking !== undefined);
  if (speaking) {
    await tied.goto(pathToFileURL(join(work, 'tied.html')).href + `#person=${speaking.number}`);
    await tied.waitForSelector('#block-dialog[open]');
    same('a trait that speaks of someone links the one it speaks of', await tied.$$eval('#card-traits dd a[data-person]',
      (links) => links.map((a) => Number(a.dataset.person))), [spokenTie(speaking).with]);
    await tied.evaluate(() => { window.print = () => {}; });
    await closeCard(tied);
    await tied.fill('#search', `${speaking.firstName} ${speaking.lastName}`);
    await tied.click('#roster tbody tr[data-position="0"] td.tick');
    await tied.click('#print-cards');
    same('a printed card carries the ties', await tied.$$eval('#print-sheet .print-card dt', (terms) =>
      terms.filter((t) => t.textContent === 'Ties').length), 1);
    await tied.evaluate(() => window.dispatchEvent(new Event('afterprint')));
  }
  same('the notables name the largest debts and bitter rivals', await tied.$$eval('#notables h3', (titles) =>
    titles.map((t) => t.textContent).filter((t) => /debts|rivals/.test(t))), ['The largest debts', 'Bitter rivals']);
  await tied.close();

  // Accessibility: axe-core on the page, a card and a phone, light and dark:
  // each page opened once, then shown in the dark scheme too.
  for (const [what, viewport, hash, file] of [['the page', { width: 1280, height: 900 }, ''],
    ['an open card', { width: 1280, height: 900 }, '#person=5'], ['a phone', { width: 390, height: 844 }, ''],
    ['a household card', { width: 1280, height: 900 }, '#person=1', 'families.html'],
    ['a household card on a phone', { width: 390, height: 844 }, '#person=1', 'families.html'],
    ['a household roster searched', { width: 1280, height: 900 }, '#q=an', 'families.html'],
    ['a household roster searched on a phone', { width: 390, height: 844 }, '#q=an', 'families.html'],
    ['a card with traits', { width: 1280, height: 900 }, '#person=1', 'traits.html'],
    ['a card with ties', { width: 1280, height: 900 }, '#person=2', 'tied.html'],
    ['a card with ties on a phone', { width: 390, height: 844 }, '#person=2', 'tied.html']]) {
    const axeContext = await browser.newContext({ viewport, colorScheme: 'light', bypassCSP: true });
    const checked = await open(file || 'hostile.html', hash, axeContext);
    if (hash.startsWith('#person')) await checked.waitForSelector('#block-dialog[open]');
    const backgrounds = [];
    for (const colorScheme of ['light', 'dark']) {
      await checked.emulateMedia({ colorScheme });
      backgrounds.push(await checked.evaluate(() => getComputedStyle(document.body).backgroundColor));
      same(`axe-core finds nothing serious on ${what} (${colorScheme})`, await seriousFindings(checked, axePath), []);
    }
    check(`the dark scheme shows on ${what}`, backgrounds[0] !== backgrounds[1], backgrounds.join(' / '));
    await axeContext.close();
  }
} catch (error) {
  check('the test ran to its end', false, error.stack);
} finally {
  await browser.close();
}

report(`town page: every check passed (${people.length} townspeople, browser ${browserPath})`);
